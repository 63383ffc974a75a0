#pragma once
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class App;
class MediaEngine;
class frmPlayList;

// The player as media keys, sound menus and playerctl see it: the MPRIS
// object on the session bus. Changes are found by comparing what the player
// shows now with what was last announced, so every way of changing it (the
// windows, the menu, the engine's own panels, the bus) is announced.
class MprisService : public QObject
{
    Q_OBJECT
public:
    // Serves nothing when `bus` is not connected or the name is taken.
    MprisService(App &app, QDBusConnection bus, QObject *parent = nullptr);
    ~MprisService() override;
    bool serving() const { return serving_; }

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();
    // org.mpris.MediaPlayer2.Player
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qint64 position() const;
    double volume() const;
    void setVolume(double volume);
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canSeek() const;
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qint64 offsetUs);
    void SetPosition(const QString &trackId, qint64 positionUs);
    void OpenUri(const QString &uri);

    // Announces whatever changed since the last announcement.
    void refresh();

signals:
    void seeked(qint64 positionUs);

private:
    frmPlayList *playList() const;
    MediaEngine *engine() const;
    double seconds(int id) const;
    QString trackId() const;
    void watch(MediaEngine *engine);
    void step(int by);

    App &app_;
    QDBusConnection bus_;
    bool serving_ = false;
    QTimer poll_;
    QVariantMap announced_;
};

class MprisRoot : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(bool CanSetFullscreen READ no)
    Q_PROPERTY(bool Fullscreen READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    explicit MprisRoot(MprisService *service) : QDBusAbstractAdaptor(service), s_(service) {}
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Solvane"); }
    QString desktopEntry() const { return QStringLiteral("solvane"); }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const;

public slots:
    void Raise() { s_->Raise(); }
    void Quit() { s_->Quit(); }

private:
    MprisService *s_;
};

class MprisPlayer : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit MprisPlayer(MprisService *service);
    QString playbackStatus() const { return s_->playbackStatus(); }
    double one() const { return 1.0; }
    QVariantMap metadata() const { return s_->metadata(); }
    double volume() const { return s_->volume(); }
    void setVolume(double v) { s_->setVolume(v); }
    qlonglong position() const { return s_->position(); }
    bool canGoNext() const { return s_->canGoNext(); }
    bool canGoPrevious() const { return s_->canGoPrevious(); }
    bool canPlay() const { return s_->canPlay(); }
    bool canSeek() const { return s_->canSeek(); }
    bool yes() const { return true; }

public slots:
    void Play() { s_->Play(); }
    void Pause() { s_->Pause(); }
    void PlayPause() { s_->PlayPause(); }
    void Stop() { s_->Stop(); }
    void Next() { s_->Next(); }
    void Previous() { s_->Previous(); }
    void Seek(qlonglong Offset) { s_->Seek(Offset); }
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position) { s_->SetPosition(TrackId.path(), Position); }
    void OpenUri(const QString &Uri) { s_->OpenUri(Uri); }

signals:
    void Seeked(qlonglong Position);

private:
    MprisService *s_;
};
