#include "desktop/mpris.h"

#include <QCryptographicHash>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cmath>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "desktop/mime_types.h"
#include "engine/media_engine.h"
#include "platform/tray_icon.h"
#include "playback/engine_settings.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.solvane");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// The quietest level the program's sliders give.
constexpr int kQuietest = -2000;

// Metadata holds an object path, which QVariant cannot compare: compare text.
QString metadataText(const QVariantMap &m)
{
    QStringList parts;
    for (auto it = m.cbegin(); it != m.cend(); ++it) {
        const QString value = it->metaType() == QMetaType::fromType<QDBusObjectPath>() ? it->value<QDBusObjectPath>().path()
                                                                : it->toStringList().join(QLatin1Char('\n')) + it->toString();
        parts << it.key() + QLatin1Char('=') + value;
    }
    return parts.join(QChar(0));
}
}  // namespace

QStringList MprisRoot::mimeTypes() const
{
    return QString::fromLatin1(kMimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

MprisPlayer::MprisPlayer(MprisService *service) : QDBusAbstractAdaptor(service), s_(service)
{
    connect(service, &MprisService::seeked, this, &MprisPlayer::Seeked);
}

MprisService::MprisService(App &app, QDBusConnection bus, QObject *parent)
    : QObject(parent), app_(app), bus_(std::move(bus))
{
    new MprisRoot(this);
    new MprisPlayer(this);
    if (!bus_.isConnected())
        return;
    if (!bus_.registerObject(kPath, this, QDBusConnection::ExportAdaptors))
        return;
    if (!bus_.registerService(kService)) {
        bus_.unregisterObject(kPath);
        return;
    }
    serving_ = true;
    connect(&app_, &App::engineCreated, this, &MprisService::watch);
    if (MediaEngine *mp = engine())
        watch(mp);
    // Catches what no engine notification tells: the playlist, the volume
    // setting, the tags once the file is read.
    poll_.setInterval(1000);
    connect(&poll_, &QTimer::timeout, this, &MprisService::refresh);
    poll_.start();
    refresh();
}

MprisService::~MprisService()
{
    if (!serving_)
        return;
    bus_.unregisterService(kService);
    bus_.unregisterObject(kPath);
}

void MprisService::watch(MediaEngine *engine)
{
    if (!engine)
        return;
    connect(engine, &MediaEngine::PlayStateChange, this, &MprisService::refresh);
    // After the video window has kept the new sound.
    connect(engine, &MediaEngine::SoundChanged, this, &MprisService::refresh, Qt::QueuedConnection);
    connect(engine, &MediaEngine::PositionChange, this,
            [this](double, double to) { emit seeked(qint64(std::llround(to * 1e6))); });
    // The window closed with its engine: stopped.
    connect(engine, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &MprisService::refresh); });
}

frmPlayList *MprisService::playList() const
{
    // Reading never loads a window: after shutdown there is none to read.
    return static_cast<frmPlayList *>(app_.forms.loaded(FormId::frmPlayList));
}

MediaEngine *MprisService::engine() const
{
    // Only a loaded video window: reading must not load it.
    auto *movie = static_cast<frmMovie *>(app_.forms.loaded(FormId::frmMovie));
    return movie ? movie->Mp() : nullptr;
}

double MprisService::seconds(int id) const
{
    MediaEngine *mp = engine();
    const auto v = mp ? mp->get(Disp(id)) : std::nullopt;
    bool ok = false;
    const double s = v ? v->toDouble(&ok) : 0.0;
    return ok && s > 0 ? s : 0.0;
}

QString MprisService::playbackStatus() const
{
    MediaEngine *mp = engine();
    const auto state = mp ? mp->get(Disp::PlayState) : std::nullopt;
    switch (state ? state->toInt() : mpClosed) {
    case mpWaiting:  // opening the next file: no flicker through Stopped
    case mpPlaying: return QStringLiteral("Playing");
    case mpPaused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
    }
}

QString MprisService::trackId() const
{
    if (app_.CurrentFile.isEmpty())
        return kNoTrack;
    const QByteArray hash = QCryptographicHash::hash(app_.CurrentFile.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("/org/solvane/track/t") + QString::fromLatin1(hash.toHex().left(16));
}

QVariantMap MprisService::metadata() const
{
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId())));
    const QString file = app_.CurrentFile;
    if (file.isEmpty())
        return m;
    const bool remote = file.startsWith(QLatin1String("http://")) || file.startsWith(QLatin1String("https://"));
    m.insert(QStringLiteral("xesam:url"), remote ? file : QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded));
    if (const double length = seconds(int(Disp::Duration)); length > 0)
        m.insert(QStringLiteral("mpris:length"), qint64(std::llround(length * 1e6)));
    MediaEngine *mp = engine();
    const auto tag = [mp](Disp id) {
        const auto v = mp ? mp->get(id) : std::nullopt;
        return v ? v->toString() : QString();
    };
    const QString title = tag(Disp::ClipTitle);
    m.insert(QStringLiteral("xesam:title"), title.isEmpty() ? QFileInfo(file).fileName() : title);
    if (const QString artist = tag(Disp::ClipAuthor); !artist.isEmpty())
        m.insert(QStringLiteral("xesam:artist"), QStringList{artist});
    return m;
}

qint64 MprisService::position() const { return qint64(std::llround(seconds(int(Disp::CurrentPosition)) * 1e6)); }

// Volume is the sound's amplitude, 1 at full level; the levels are
// hundredths of a decibel. 0 is silence, which only the mute gives.
double MprisService::volume() const
{
    const Settings &s = app_.settings;
    return s.CfgMute != 0 ? 0.0 : std::clamp(std::pow(10.0, std::min(0, int(s.CfgVolume)) / 2000.0), 0.0, 1.0);
}

void MprisService::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    // As the engine's own controls: the setting and the engine, not the file.
    const Settings &s = app_.settings;
    if (volume <= 0)
        setSound(app_, s.CfgVolume, true);
    else
        setSound(app_, qint16(std::max(std::lround(2000 * std::log10(std::min(volume, 1.0))), long(kQuietest))), false);
    refresh();
}

bool MprisService::canGoNext() const
{
    const frmPlayList *list = playList();
    return list && list->ListIndex() + 1 < list->ListCount();
}

bool MprisService::canGoPrevious() const
{
    const frmPlayList *list = playList();
    return list && list->ListIndex() > 0;
}

bool MprisService::canPlay() const
{
    // Play on an empty playlist opens the file dialog: not for a remote.
    const frmPlayList *list = playList();
    return list && list->ListCount() > 0;
}

bool MprisService::canSeek() const
{
    const QString status = playbackStatus();
    return status != QLatin1String("Stopped") && seconds(int(Disp::Duration)) > 0;
}

void MprisService::Raise()
{
    // As the notification icon's left click.
    if (FrmSolvane *main = app_.Solvane())
        main->Form_MouseMove(1, TrayIcon::LeftButtonUp);
}

void MprisService::Quit()
{
    // As the exit zone, after the answer has left.
    QTimer::singleShot(0, &app_, [this] { app_.forms.unload(FormId::Solvane); });
}

void MprisService::Play()
{
    if (!canPlay())
        return;
    // A paused file goes on, as the video window's play button has it.
    if (playbackStatus() == QLatin1String("Paused")) {
        if (MediaEngine *mp = engine())
            mp->call(Disp::Play);
    } else if (FrmSolvane *main = app_.Solvane()) {
        main->imgPlay_Click();
    }
    refresh();
}

void MprisService::Pause()
{
    if (playbackStatus() != QLatin1String("Playing"))
        return;
    if (FrmSolvane *main = app_.Solvane())
        main->ImgPause_Click();
    refresh();
}

void MprisService::PlayPause()
{
    if (playbackStatus() == QLatin1String("Playing"))
        Pause();
    else
        Play();
}

void MprisService::Stop()
{
    if (FrmSolvane *main = app_.Solvane())
        main->imgStop_Click();
    refresh();
}

void MprisService::step(int by)
{
    frmPlayList *list = playList();
    if (!list)
        return;
    // As the end of a stream moves on: select, then play the selection.
    list->setListIndex(list->ListIndex() + by);
    PlaySelected(app_);
    refresh();
}

void MprisService::Next()
{
    if (canGoNext())
        step(+1);
}

void MprisService::Previous()
{
    if (canGoPrevious())
        step(-1);
}

void MprisService::Seek(qint64 offsetUs)
{
    MediaEngine *mp = engine();
    if (!mp || !canSeek())
        return;
    const double target = std::max(0.0, seconds(int(Disp::CurrentPosition)) + double(offsetUs) / 1e6);
    if (target > seconds(int(Disp::Duration))) {
        Next();
        return;
    }
    mp->set(Disp::CurrentPosition, target);
}

void MprisService::SetPosition(const QString &trackId, qint64 positionUs)
{
    MediaEngine *mp = engine();
    if (!mp || !canSeek() || trackId != this->trackId())
        return;
    const double target = double(positionUs) / 1e6;
    if (target < 0 || target > seconds(int(Disp::Duration)))
        return;
    mp->set(Disp::CurrentPosition, target);
}

void MprisService::OpenUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return;
    if (FrmSolvane *main = app_.Solvane())
        main->actOnCommandLine({url.toLocalFile()}, QDir::rootPath());
    refresh();
}

void MprisService::refresh()
{
    if (!serving_ || app_.hasEnded())
        return;
    QVariantMap now;
    now.insert(QStringLiteral("PlaybackStatus"), playbackStatus());
    now.insert(QStringLiteral("Metadata"), metadata());
    now.insert(QStringLiteral("Volume"), volume());
    now.insert(QStringLiteral("CanGoNext"), canGoNext());
    now.insert(QStringLiteral("CanGoPrevious"), canGoPrevious());
    now.insert(QStringLiteral("CanPlay"), canPlay());
    now.insert(QStringLiteral("CanPause"), canPlay());
    now.insert(QStringLiteral("CanSeek"), canSeek());

    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const QVariant before = announced_.value(it.key());
        const bool same = it.key() == QLatin1String("Metadata") ? before.isValid() && metadataText(before.toMap()) ==
                                                                                           metadataText(it->toMap())
                                                                : before == *it;
        if (!same)
            changed.insert(it.key(), *it);
    }
    announced_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
}
