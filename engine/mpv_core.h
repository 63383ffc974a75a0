#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <atomic>
#include <functional>
#include <optional>

#include <mpv/client.h>

// libmpv options as name/value pairs, applied in order before start-up.
using MpvOptions = QList<QPair<QByteArray, QByteArray>>;

// The player's own options: video through the render API or none, sound to
// the first output that works, the end reported once it has been heard.
MpvOptions engineOptions(bool openGl);

// One libmpv player. libmpv wakes us on a thread of its own, which may not call
// into it: the wake-up only queues a drain of the events on the GUI thread.
// Every call fails quietly (false / nullopt) when the player could not start.
class MpvCore : public QObject
{
    Q_OBJECT
public:
    explicit MpvCore(const MpvOptions &options, QObject *parent = nullptr);
    ~MpvCore() override;

    bool ok() const { return handle_ != nullptr; }
    mpv_handle *handle() const { return handle_; }

    bool setString(const char *name, const QByteArray &value);
    // Queued: true once libmpv has the request.
    bool setFlag(const char *name, bool on);
    bool setDouble(const char *name, double value);
    std::optional<double> getDouble(const char *name) const;
    std::optional<bool> getFlag(const char *name) const;
    QString getString(const char *name) const;
    // Queued, as setFlag.
    bool command(const QList<QByteArray> &args);
    // Replaces the current file, or queues one after it; returns libmpv's
    // entry id for the new one.
    std::optional<qint64> loadFile(const QByteArray &target, const QByteArray &fileOptions, bool append = false);
    bool observe(quint64 id, const char *name, mpv_format format);
    // libmpv waits at the named point of every file (MPV_EVENT_HOOK) until
    // continueHook is called with the event's id.
    bool addHook(quint64 id, const char *name);
    void continueHook(quint64 hookId);

    // Called on the GUI thread for every event; may delete this object.
    std::function<void(const mpv_event &)> onEvent;

private:
    Q_INVOKABLE void drain();
    static void wakeup(void *self);

    mpv_handle *handle_ = nullptr;
    std::atomic<bool> queued_{false};
};
