#include "desktop/screen_saver.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "app/app_context.h"
#include "engine/media_engine.h"
#include "playback/frm_movie.h"

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage screenSaverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}
}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(App &app, QDBusConnection bus, QObject *parent)
    : QObject(parent), app_(app), bus_(std::move(bus))
{
    if (!bus_.isConnected())
        return;
    connect(&app_, &App::engineCreated, this, &ScreenSaverInhibitor::watch);
    if (auto *movie = static_cast<frmMovie *>(app_.forms.loaded(FormId::frmMovie)))
        watch(movie->Mp());
    // The picture's size is known a moment after the file starts.
    poll_.setInterval(1000);
    connect(&poll_, &QTimer::timeout, this, &ScreenSaverInhibitor::update);
    poll_.start();
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    if (wanted_)
        release(true);
}

void ScreenSaverInhibitor::watch(MediaEngine *engine)
{
    if (!engine)
        return;
    connect(engine, &MediaEngine::PlayStateChange, this, &ScreenSaverInhibitor::update);
    connect(engine, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &ScreenSaverInhibitor::update); });
}

bool ScreenSaverInhibitor::videoPlays() const
{
    // Only a loaded video window: looking must not load it.
    auto *movie = static_cast<frmMovie *>(app_.forms.loaded(FormId::frmMovie));
    MediaEngine *mp = movie ? movie->Mp() : nullptr;
    if (!mp || app_.hasEnded())
        return false;
    const auto state = mp->get(Disp::PlayState);
    // A song's cover art is a picture too, but a still one.
    const auto video = mp->get(Disp::HasVideo);
    return state && state->toInt() == mpPlaying && video && video->toBool();
}

void ScreenSaverInhibitor::update()
{
    if (!bus_.isConnected())
        return;
    const bool want = videoPlays();
    if (want == wanted_)
        return;
    wanted_ = want;
    if (want)
        inhibit();
    else
        release(false);
}

void ScreenSaverInhibitor::inhibit()
{
    if (awaiting_ || haveCookie_)
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << QStringLiteral("Solvane") << QStringLiteral("Lecture d'une vidéo");
    awaiting_ = true;
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        awaiting_ = false;
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError())
            return;  // no screen saver to ask: nothing to release either
        cookie_ = reply.value();
        haveCookie_ = true;
        if (!wanted_)
            release(false);
    });
}

void ScreenSaverInhibitor::release(bool wait)
{
    if (!haveCookie_)
        return;  // not granted yet: the answer's handler releases it
    haveCookie_ = false;
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << cookie_;
    if (wait)
        bus_.call(call, QDBus::Block, 500);  // we are about to end: make sure it left
    else
        bus_.send(call);
}
