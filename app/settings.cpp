#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <limits>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace {

// The fields in file order, so that reading and writing walk one table.
template <class S, class F>
void forEachField(S &s, F &&f)
{
    f(s.CfgDisplaySize);
    f(s.CfgShowControls);
    f(s.CfgShowAudioControls);
    f(s.CfgShowPositionControls);
    f(s.CfgShowDisplay);
    f(s.CfgShowStatusBar);
    f(s.CfgFullScreenControls);
    f(s.CfgShowToolbar);
    f(s.CfgFitToScreen);
    f(s.CfgAutoRewind);
    f(s.CfgAutoStart);
    f(s.CfgMute);
    f(s.CfgPlayCount);
    f(s.CfgBorderColor);
    f(s.CfgBorderWidth);
    f(s.CfgExitAtEnd);
    f(s.CfgVolume);
    f(s.CfgBalance);
    f(s.CfgLoopList);
}

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

// Splits the file into its items, in order.
QList<QByteArray> items(const QByteArray &bytes)
{
    QList<QByteArray> out;
    qsizetype i = 0;
    while (i < bytes.size()) {
        while (i < bytes.size() && isSeparator(bytes[i]))
            ++i;
        const qsizetype start = i;
        while (i < bytes.size() && !isSeparator(bytes[i]))
            ++i;
        if (i > start)
            out << bytes.mid(start, i - start);
    }
    return out;
}

// A whole number within [lo, hi]; a fraction rounds to the even neighbour.
std::optional<qint32> toNumber(const QByteArray &item, qint64 lo, qint64 hi)
{
    bool ok = false;
    const double v = item.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v);
    if (r < double(lo) || r > double(hi))
        return std::nullopt;
    return qint32(r);
}

}  // namespace

Settings Settings::defaults()
{
    Settings s;
    s.CfgShowControls = 1;
    s.CfgShowAudioControls = 1;
    s.CfgShowPositionControls = 1;
    s.CfgShowDisplay = 1;
    s.CfgShowStatusBar = 1;
    s.CfgFullScreenControls = 1;
    s.CfgShowToolbar = 1;
    s.CfgAutoRewind = 1;
    s.CfgAutoStart = 1;
    s.CfgVolume = -100;
    return s;
}

std::array<qint32, Settings::kFieldCount> Settings::toArray() const
{
    std::array<qint32, kFieldCount> out{};
    int i = 0;
    forEachField(*this, [&](auto v) { out[i++] = v; });
    return out;
}

void Settings::fromArray(const std::array<qint32, kFieldCount> &values)
{
    int i = 0;
    forEachField(*this, [&](auto &v) { v = static_cast<std::remove_reference_t<decltype(v)>>(values[i++]); });
}

QByteArray formatSettings(const Settings &s)
{
    const auto values = s.toArray();
    QByteArray out;
    int field = 0;
    for (const int groupSize : Settings::kGroupSizes) {
        for (int k = 0; k < groupSize; ++k, ++field) {
            const qint32 v = values[field];
            out += v < 0 ? '-' : ' ';
            out += QByteArray::number(qAbs(qint64(v)));
            out += ' ';
        }
        out += "\r\n";
    }
    return out;
}

void parseSettings(const QByteArray &bytes, Settings &s)
{
    auto values = s.toArray();
    const QList<QByteArray> list = items(bytes);
    qsizetype next = 0;
    int field = 0;
    for (const int groupSize : Settings::kGroupSizes) {
        const int groupEnd = field + groupSize;
        for (; field < groupEnd; ++field) {
            if (next >= list.size())
                break;
            const bool wide = field == Settings::kColorField;
            const auto v = toNumber(list[next++], wide ? std::numeric_limits<qint32>::min() : -32768,
                                    wide ? std::numeric_limits<qint32>::max() : 32767);
            if (!v)
                break;
            values[field] = *v;
        }
        field = groupEnd;
    }
    s.fromArray(values);
}

void readSettingsFile(const QString &path, Settings &s)
{
    if (!paths::FileExists(path)) {
        s = Settings::defaults();
        return;
    }
    QFile file;
    if (!openRegularFile(file, path))
        return;  // present but unreadable: every field keeps its value
    // Line by line, and only as far as the fields go: a huge file costs no
    // more than a small one.
    LineReader reader(file);
    QByteArray text, line;
    qsizetype count = 0;
    while (count < Settings::kFieldCount && reader.next(line)) {
        count += items(line).size();
        text += line;
        text += '\n';
    }
    parseSettings(text, s);
}

bool writeSettingsFile(const QString &path, const Settings &s)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileAtomically(path, formatSettings(s));
}
