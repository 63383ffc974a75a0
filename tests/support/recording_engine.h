#pragma once
#include <QHash>
#include <QRegularExpression>
#include <ostream>
#include <QStringList>
#include <QWidget>

#include "engine/media_engine.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// Stands in for the engine in window tests: answers from what was set and
// logs every member reached, in order, as "set 1032 2", "call 2001", "get 23".
class RecordingEngine : public MediaEngine
{
public:
    // Owned by the window that holds it, as the libmpv engine is.
    explicit RecordingEngine(QWidget *parent = nullptr) : MediaEngine(parent), area_(new QWidget(parent)) {}

    bool set(Disp id, const QVariant &value) override
    {
        log << QStringLiteral("set %1 %2").arg(int(id)).arg(value.toString());
        values[id] = value;
        return true;
    }
    std::optional<QVariant> get(Disp id) override
    {
        log << QStringLiteral("get %1").arg(int(id));
        return values.contains(id) ? std::optional(values.value(id)) : std::nullopt;
    }
    bool call(Disp id) override
    {
        log << QStringLiteral("call %1").arg(int(id));
        return true;
    }
    QWidget *widget() override { return area_; }

    // Log lines that start with `prefix`, e.g. "set 1026".
    QStringList entries(const QString &prefix) const { return log.filter(QRegularExpression('^' + QRegularExpression::escape(prefix))); }

    // Tells a new play state as libmpv's engine would.
    void tellState(int state)
    {
        const int old = values.value(Disp::PlayState, mpClosed).toInt();
        values[Disp::PlayState] = state;
        emit PlayStateChange(old, state);
    }

    QStringList log;
    QHash<Disp, QVariant> values;

private:
    QWidget *area_;
};
