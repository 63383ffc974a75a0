#include "engine/mpv_core.h"

#include <QMetaObject>
#include <QPointer>
#include <vector>

MpvCore::MpvCore(const MpvOptions &options, QObject *parent) : QObject(parent)
{
    mpv_handle *h = mpv_create();
    if (!h)
        return;
    for (const auto &[name, value] : options)
        mpv_set_option_string(h, name.constData(), value.constData());
    if (mpv_initialize(h) < 0) {
        mpv_terminate_destroy(h);
        return;
    }
    handle_ = h;
    mpv_set_wakeup_callback(handle_, &MpvCore::wakeup, this);
}

MpvCore::~MpvCore()
{
    if (!handle_)
        return;
    // No wake-up may reach this object once it is gone.
    mpv_set_wakeup_callback(handle_, nullptr, nullptr);
    mpv_terminate_destroy(handle_);
}

void MpvCore::wakeup(void *self)
{
    auto *core = static_cast<MpvCore *>(self);
    if (!core->queued_.exchange(true))
        QMetaObject::invokeMethod(core, "drain", Qt::QueuedConnection);
}

void MpvCore::drain()
{
    queued_ = false;
    QPointer<MpvCore> alive(this);
    while (alive && handle_) {
        mpv_event *e = mpv_wait_event(handle_, 0);
        if (!e || e->event_id == MPV_EVENT_NONE)
            break;
        if (onEvent)
            onEvent(*e);
    }
}

bool MpvCore::setString(const char *name, const QByteArray &value)
{
    return handle_ && mpv_set_property_string(handle_, name, value.constData()) >= 0;
}

bool MpvCore::setFlag(const char *name, bool on)
{
    // Not waited for: libmpv may be busy seeking or with its video output,
    // and the interface goes on meanwhile; later calls still come after it.
    int flag = on ? 1 : 0;
    return handle_ && mpv_set_property_async(handle_, 0, name, MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvCore::setDouble(const char *name, double value)
{
    return handle_ && mpv_set_property(handle_, name, MPV_FORMAT_DOUBLE, &value) >= 0;
}

std::optional<double> MpvCore::getDouble(const char *name) const
{
    double value = 0;
    if (!handle_ || mpv_get_property(handle_, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return std::nullopt;
    return value;
}

std::optional<bool> MpvCore::getFlag(const char *name) const
{
    int flag = 0;
    if (!handle_ || mpv_get_property(handle_, name, MPV_FORMAT_FLAG, &flag) < 0)
        return std::nullopt;
    return flag != 0;
}

QString MpvCore::getString(const char *name) const
{
    if (!handle_)
        return QString();
    char *text = mpv_get_property_string(handle_, name);
    if (!text)
        return QString();
    const QString result = QString::fromUtf8(text);
    mpv_free(text);
    return result;
}

bool MpvCore::command(const QList<QByteArray> &args)
{
    if (!handle_)
        return false;
    std::vector<const char *> argv;
    for (const QByteArray &a : args)
        argv.push_back(a.constData());
    argv.push_back(nullptr);
    // Not waited for either (seek, stop): they take effect in order.
    return mpv_command_async(handle_, 0, argv.data()) >= 0;
}

std::optional<qint64> MpvCore::loadFile(const QByteArray &target, const QByteArray &fileOptions, bool append)
{
    if (!handle_)
        return std::nullopt;
    // Named arguments: the position of the options argument moved between releases.
    QList<QByteArray> keys{"name", "url", "flags"};
    QList<QByteArray> values{"loadfile", target, append ? "append" : "replace"};
    if (!fileOptions.isEmpty()) {
        keys << "options";
        values << fileOptions;
    }
    std::vector<mpv_node> items(values.size());
    std::vector<char *> names(keys.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        items[i].format = MPV_FORMAT_STRING;
        items[i].u.string = const_cast<char *>(values[i].constData());
        names[i] = const_cast<char *>(keys[i].constData());
    }
    mpv_node_list list{int(items.size()), items.data(), names.data()};
    mpv_node in;
    in.format = MPV_FORMAT_NODE_MAP;
    in.u.list = &list;
    mpv_node out;
    if (mpv_command_node(handle_, &in, &out) < 0)
        return std::nullopt;
    std::optional<qint64> id = -1;
    if (out.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < out.u.list->num; ++i)
            if (qstrcmp(out.u.list->keys[i], "playlist_entry_id") == 0
                && out.u.list->values[i].format == MPV_FORMAT_INT64)
                id = out.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&out);
    return id;
}

bool MpvCore::observe(quint64 id, const char *name, mpv_format format)
{
    return handle_ && mpv_observe_property(handle_, id, name, format) >= 0;
}

bool MpvCore::addHook(quint64 id, const char *name)
{
    return handle_ && mpv_hook_add(handle_, id, name, 0) >= 0;
}

void MpvCore::continueHook(quint64 hookId)
{
    if (handle_)
        mpv_hook_continue(handle_, hookId);
}

MpvOptions engineOptions(bool openGl)
{
    return {
        {"vo", openGl ? "libmpv" : "null"},
        // Without a sound device the list ends in the null output, which keeps
        // real time. PipeWire answers through its pulse and alsa faces; its
        // own output only adds start-up noise on stderr.
        {"ao", "pulse,alsa,null"},
        // The file stays open at its end and "eof-reached" comes once the last
        // sound has played out, not when it was queued.
        // A change of volume or mute is heard once the sound server has
        // played what it holds (100 ms), a change of balance once libmpv's
        // own buffer has gone too (about 300 ms in all). Smaller buffers ran
        // dry on a busy two-core machine, mid-file or while the next entry
        // opened, and the server's 30 ms woke three threads 400 times a
        // second; the server's own default held so much that quitting at the
        // end cut off the last second of a file.
        {"audio-buffer", "0.2"},
        {"pulse-buffer", "100"},
        {"keep-open", "yes"},
        {"keep-open-pause", "no"},
        // Without a next file queued the output plays out before the end is
        // told; the engine turns this on while one waits (see MpvEngine).
        {"gapless-audio", "no"},
        // The file queued after this one is opened ahead, so it follows at once.
        {"prefetch-playlist", "yes"},
        // libmpv scales integer samples by steps of 1/256, which is 1.4 dB off
        // at -40 dB; float samples follow the volume exactly.
        {"audio-format", "float"},
        {"idle", "yes"},
        {"pause", "yes"},
        // A song's embedded cover art shows as its picture.
        {"audio-display", "embedded-first"},
        // The name the sound mixer lists the player under.
        {"audio-client-name", "Solvane"},
        // The stream's name in the mixer: the file's title, not "… - mpv".
        {"title", "${?media-title:${media-title}}${!media-title:Solvane}"},
        {"ytdl", "no"},
        // The engine opens what the player hands it and nothing else: not
        // what a played file names (a "song" that is a text list of web
        // addresses or edl:// lines), nor files beside it.
        {"access-references", "no"},
        {"autoload-files", "no"},
        // libmpv's built-in scripts (on-screen controller, statistics, console)
        // would each start a Lua interpreter nobody uses here.
        {"osc", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"load-scripts", "no"},
        {"config", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"osd-level", "0"},
        {"osd-bar", "no"},
        // Software decoding: no probing of GPU decoders (and their messages).
        {"hwdec", "no"},
        {"gpu-hwdec-interop", "no"},
    };
}
