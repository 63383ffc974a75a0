#pragma once
#include <QPointer>
#include <memory>

#include "engine/media_engine.h"
#include "engine/mpv_core.h"

class EngineArea;
class QTimer;
class MpvPicture;

// The media engine on libmpv: the only engine the program ships.
class MpvEngine : public MediaEngine
{
    Q_OBJECT
public:
    explicit MpvEngine(QWidget *parent = nullptr);
    // `extra` goes over the engine's own libmpv options (tests send the sound
    // to a file with "ao=pcm", or run it untimed).
    MpvEngine(QWidget *parent, const MpvOptions &extra);
    ~MpvEngine() override;

    bool set(Disp id, const QVariant &value) override;
    std::optional<QVariant> get(Disp id) override;
    bool call(Disp id) override;
    QWidget *widget() override;

private:
    enum class Phase { Closed, Opening, Playing, Paused, Stopped, Ended, Failed };

    bool setMember(Disp id, const QVariant &value);
    std::optional<QVariant> getMember(Disp id);
    bool startCore();
    bool open(const QString &name);
    void load();
    void addVideo();
    void fitFilters();
    bool play();
    bool pause();
    bool stop();
    void seek(double seconds, bool exact = true);
    void seekByUser(double seconds, bool exact = true);
    void fail(int error);
    void showVideoSize();
    // The picture shown comes from a video track, not a cover or an image.
    bool showsVideoTrack() const;
    bool applyBalance();
    // Before libmpv runs, a value waits for it among its start-up options.
    bool setFlag(const char *name, bool on) { return !core_ || core_->setFlag(name, on); }
    bool setDouble(const char *name, double value) { return !core_ || core_->setDouble(name, value); }
    QByteArray filterChain() const;
    void applyBorder();
    void onEvent(const mpv_event &event);
    void onProperty(quint64 id, const mpv_event_property &property);
    void onLoaded();
    void playedOut();
    void queueNext();
    void dropNext();
    void carryOn();
    void releaseHook();
    void endOfStream(int result);
    void refreshTitle();
    void showPhase(Phase phase);
    void showTimes();
    void readPosition();
    double position() const;
    int playState() const;

    // libmpv starts with the first file: nothing played, nothing loaded.
    std::unique_ptr<MpvCore> core_;
    MpvOptions options_;            // the creator's options, over the engine's own
    bool video_ = true;             // pictures are drawn (not with vo=null)
    QPointer<EngineArea> area_;
    QPointer<MpvPicture> picture_;
    QTimer *tick_ = nullptr;

    Phase phase_ = Phase::Closed;
    int lastState_ = mpClosed;      // as last told by PlayStateChange
    QString name_;                  // the file name last set
    QString sameName_;              // set with no call since: setting it again changes nothing
    QByteArray target_;             // what libmpv loads for name_
    bool probing_ = false;          // loaded without video until its tracks are known
    qint64 entry_ = -1;             // libmpv's id of our file
    qint64 startedEntry_ = -1;      // libmpv's id of the file it is opening
    quint64 generation_ = 0;        // a new file or a stop drops an end of stream still queued
    bool wantPlay_ = false;
    int playsDone_ = 0;
    bool rewoundAtEnd_ = false;     // the end's rewind, while the file stays Ended
    QByteArray filters_;            // the audio filter list libmpv holds
    QByteArray filterTail_;         // filters given by the creator, after ours
    bool monoSound_ = true;         // the file has a mono track: it needs the upmix
    double pos_ = 0, duration_ = 0;

    // The file queued in libmpv after this one, which it goes on into at the
    // end without closing the sound output.
    QString nextName_;
    QByteArray nextTarget_;
    qint64 nextEntry_ = -1;
    bool nextProbing_ = false;
    bool nextAsked_ = false;        // for this play
    QString carried_;               // the queued file now playing: setting it changes nothing
    bool endPending_ = false;       // its end of stream not handled yet
    quint64 heldHook_ = 0;          // the carried file waits there until then
    bool holdPicture_ = false;      // the last frame stays until the carried file's first
    qint64 videoW_ = 0, videoH_ = 0;

    // Settings as last set.
    bool autoStart_ = true, autoRewind_ = false, mute_ = false, fullScreenControls_ = false;
    int playCount_ = 1, volume_ = 0, balance_ = 0, borderColor_ = 0, borderWidth_ = 0;
};
