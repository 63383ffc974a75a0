#include "engine/engine_rules.h"

#include <QDir>
#include <algorithm>
#include <cmath>

QString mpvTarget(const QString &name, const QString &currentDir)
{
    if (name.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || name.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return name;
    // A leading "/" is never read by libmpv as a protocol nor as an option.
    if (name.startsWith(QLatin1Char('/')))
        return name;
    QString dir = currentDir.isEmpty() ? QDir::currentPath() : currentDir;
    if (!dir.startsWith(QLatin1Char('/')))
        dir = QDir(dir).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + name;
}

double mpvVolume(int hundredthsDb)
{
    const int level = std::min(hundredthsDb, 0);
    // amplitude = (volume / 100)^3 = 10^(level / 2000)
    return 100.0 * std::pow(10.0, level / 6000.0);
}

ChannelGains balanceGains(int balance)
{
    ChannelGains g;
    const int b = std::clamp(balance, -10000, 10000);
    if (b <= -10000)
        g.right = 0.0;
    else if (b < 0)
        g.right = std::pow(10.0, b / 2000.0);
    else if (b >= 10000)
        g.left = 0.0;
    else if (b > 0)
        g.left = std::pow(10.0, -b / 2000.0);
    return g;
}

double balanceOut(int balance)
{
    const ChannelGains g = balanceGains(balance);
    return g.right < 1.0 ? g.right - 1.0 : 1.0 - g.left;
}

QString soundFilters(int balance, bool mono)
{
    // floor(2-2/n) is channel 0 for mono and 1 for stereo. The last aformat
    // names the layout, which libmpv needs and aeval leaves unknown. aeval
    // works out each sample, so files without a mono track go without it.
    // stereotools in its plain left/right mode passes the sound unchanged and
    // multiplies only the lowered side. It sits in a graph of its own, so
    // that a new balance replaces only it.
    const QString sides = mono ? QStringLiteral("aformat=channel_layouts=mono|stereo,"
                                                "aeval=exprs=val(0)|val(floor(2-2/nb_in_channels)):c=stereo,")
                               : QString();
    return QStringLiteral("lavfi=[") + sides
           + QStringLiteral("aformat=channel_layouts=stereo],@balance:lavfi=[stereotools=balance_out=")
           + QString::number(balanceOut(balance), 'f', 8) + QLatin1Char(']');
}

QString clockText(double seconds, Clock kind)
{
    long long t = 0;
    if (std::isfinite(seconds) && seconds > 0) {
        const long long minutes = static_cast<long long>(std::nearbyint(seconds)) / 60;
        const double rest = seconds - 60.0 * double(minutes);
        const long long s = static_cast<long long>(kind == Clock::Total ? std::round(rest) : std::nearbyint(rest));
        t = 60 * minutes + std::max(s, 0LL);
    }
    const long long h = t / 3600, m = (t / 60) % 60, s = t % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QRect pictureRect(int displaySize, QSize video, const QRect &region, int border)
{
    if (video.isEmpty())
        return region;
    const int b = std::max(border, 0);
    const QSize room(std::max(region.width() - 2 * b, 1), std::max(region.height() - 2 * b, 1));
    QSize size = video;
    if (displaySize == 1)
        size = video / 2;
    else if (displaySize == 2)
        size = video * 2;
    else if (displaySize != 0)
        size = video.scaled(room, Qt::KeepAspectRatio);
    // A scale never crops: what does not fit is shown whole, smaller.
    if (size.width() > room.width() || size.height() > room.height())
        size = size.scaled(room, Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(1, 1));
    return QRect(region.x() + (region.width() - size.width()) / 2,
                 region.y() + (region.height() - size.height()) / 2, size.width(), size.height());
}

QString failureText(int mpvError, bool fileExists)
{
    if (!fileExists)
        return QStringLiteral("Fichier introuvable");
    // -13 loading failed, -17 unknown format: libmpv found nothing it can play in it.
    if (mpvError == -13 || mpvError == -17)
        return QStringLiteral("Format non reconnu");
    return QStringLiteral("Lecture impossible");
}
