#include "engine/mpv_engine.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cmath>
#include <utility>

#include "engine/engine_area.h"
#include "engine/engine_panels.h"
#include "engine/engine_rules.h"
#include "engine/mpv_picture.h"

namespace {
enum Observed : quint64 { EofReached = 1, DurationProp, DWidth, DHeight, Metadata };
constexpr quint64 TracksKnown = 100;
// The panel's times and bar follow the play at this pace. Watching libmpv's
// position instead wakes its core and this thread at every piece of sound.
constexpr int kTickMs = 250;
}  // namespace

MpvEngine::MpvEngine(QWidget *parent) : MpvEngine(parent, {}) {}

MpvEngine::MpvEngine(QWidget *parent, const MpvOptions &extra) : MediaEngine(parent)
{
    area_ = new EngineArea(parent);
    for (const auto &[name, value] : extra) {
        if (name == "vo")
            video_ = value == "libmpv";
        // Extra audio filters go after the engine's own, which stay in place.
        if (name == "af")
            filterTail_ = value;
        else
            options_ += qMakePair(name, value);
    }
    filters_ = filterChain();
    picture_ = new MpvPicture(area_->pictureHost());
    area_->setPicture(picture_);

    EnginePanels *panels = area_->panels();
    connect(panels, &EnginePanels::playClicked, this, [this] { call(Disp::Play); });
    connect(panels, &EnginePanels::pauseClicked, this, [this] { call(Disp::Pause); });
    connect(panels, &EnginePanels::stopClicked, this, [this] { call(Disp::Stop); });
    connect(panels, &EnginePanels::muteToggled, this, [this](bool on) {
        if (set(Disp::Mute, on))
            emit SoundChanged(volume_, mute_);
    });
    connect(panels, &EnginePanels::volumeMoved, this, [this](int v) {
        if (set(Disp::Volume, v))
            emit SoundChanged(volume_, mute_);
    });
    connect(panels, &EnginePanels::seekRequested, this, &MpvEngine::seekByUser);
    connect(area_, &EngineArea::leftFullScreen, this, &MediaEngine::DisplaySizeChanged);
    tick_ = new QTimer(this);
    tick_->setInterval(kTickMs);
    connect(tick_, &QTimer::timeout, this, [this] {
        readPosition();
        showTimes();
        queueNext();
    });
    showPhase(Phase::Closed);
}

MpvEngine::~MpvEngine()
{
    ++generation_;
    if (core_) {
        releaseHook();
        core_->onEvent = nullptr;
        // libmpv wants its render context gone first.
        if (picture_)
            picture_->release(core_->handle());
    }
    core_.reset();
    delete area_.data();
}

QWidget *MpvEngine::widget() { return area_; }

bool MpvEngine::set(Disp id, const QVariant &value)
{
    try {
        return area_ && setMember(id, value);
    } catch (...) {
        return false;
    }
}

std::optional<QVariant> MpvEngine::get(Disp id)
{
    try {
        return area_ ? getMember(id) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

bool MpvEngine::call(Disp id)
{
    try {
        // Any call ends a run of sets of the same file.
        sameName_.clear();
        carried_.clear();
        switch (id) {
        case Disp::Play: return play();
        case Disp::Pause: return pause();
        case Disp::Stop: return stop();
        default: return false;
        }
    } catch (...) {
        return false;
    }
}

double MpvEngine::position() const
{
    switch (phase_) {
    case Phase::Closed:
    case Phase::Failed: return -1.0;
    case Phase::Opening:
    case Phase::Stopped: return 0.0;
    default:
        // To the millisecond: a rewound file reads 0, not 3e-17.
        return std::round(std::max(core_->getDouble("time-pos").value_or(0.0), 0.0) * 1000.0) / 1000.0;
    }
}

bool MpvEngine::open(const QString &name)
{
    // The end of a stream sets the next file, then the playlist sets it again
    // before playing it: the second time must change nothing.
    if (!sameName_.isNull() && name == sameName_ && phase_ != Phase::Failed && phase_ != Phase::Closed)
        return true;
    // The file already went on into the one asked for.
    if (!carried_.isNull() && name == carried_ && entry_ >= 0
        && (phase_ == Phase::Opening || phase_ == Phase::Playing)) {
        sameName_ = name;
        // The settings come before the file: it may start now.
        releaseHook();
        return true;
    }
    sameName_ = name;
    carried_.clear();
    dropNext();
    holdPicture_ = false;
    name_ = name;
    ++generation_;
    playsDone_ = 0;
    entry_ = -1;
    pos_ = 0;
    probing_ = false;
    videoW_ = videoH_ = 0;
    showVideoSize();
    target_ = name.isEmpty() ? QByteArray() : mpvTarget(name, QDir::currentPath()).toUtf8();
    phase_ = Phase::Closed;
    refreshTitle();
    if (name.isEmpty()) {
        if (core_)
            core_->command({"stop"});
        showPhase(Phase::Closed);
        return true;
    }
    wantPlay_ = autoStart_;
    showPhase(Phase::Opening);
    if (!startCore()) {
        fail(MPV_ERROR_LOADING_FAILED);
        return true;
    }
    // Until a renderer exists, a file opens without video and paused; the
    // renderer is made once the file is known to have a picture.
    probing_ = video_ && !picture_->hasVideo();
    core_->setFlag("pause", probing_ || !autoStart_);
    load();
    return true;
}

bool MpvEngine::startCore()
{
    if (core_)
        return core_->ok();
    MpvOptions options = engineOptions(video_);
    options += options_;
    options += qMakePair(QByteArray("af"), filters_);
    options += qMakePair(QByteArray("mute"), QByteArray(mute_ ? "yes" : "no"));
    options += qMakePair(QByteArray("volume"), QByteArray::number(mpvVolume(volume_), 'g', 10));
    core_ = std::make_unique<MpvCore>(options);
    core_->onEvent = [this](const mpv_event &event) { onEvent(event); };
    core_->observe(EofReached, "eof-reached", MPV_FORMAT_FLAG);
    core_->observe(DurationProp, "duration", MPV_FORMAT_DOUBLE);
    core_->observe(DWidth, "dwidth", MPV_FORMAT_INT64);
    core_->observe(DHeight, "dheight", MPV_FORMAT_INT64);
    core_->observe(Metadata, "metadata", MPV_FORMAT_NONE);
    // The file's tracks are known and none is chosen yet: the moment to make
    // the renderer for a picture. Later, a file with a picture and no sound
    // would already have ended for want of anything to play.
    core_->addHook(TracksKnown, "on_preloaded");
    return core_->ok();
}

void MpvEngine::load()
{
    // Without a renderer libmpv would open a window of its own for the video.
    const auto id = core_->loadFile(target_, probing_ ? QByteArray("vid=no") : QByteArray());
    if (!id) {
        fail(MPV_ERROR_LOADING_FAILED);
        return;
    }
    entry_ = *id;
}

bool MpvEngine::play()
{
    switch (phase_) {
    case Phase::Failed: return false;
    case Phase::Closed:
        // A file libmpv closed by itself opens again.
        if (name_.isEmpty() || !open(name_))
            return false;
        [[fallthrough]];
    case Phase::Opening:
        wantPlay_ = true;
        // A file still without its picture starts once it has it.
        return probing_ || core_->setFlag("pause", false);
    case Phase::Playing: return true;
    case Phase::Paused:
        // Paused on the very end (moved there with the position bar): that
        // play is over, and no further change of "eof-reached" would say so.
        if (core_->getFlag("eof-reached").value_or(false)) {
            showPhase(Phase::Playing);
            playedOut();
            return true;
        }
        break;
    case Phase::Stopped:
    case Phase::Ended:
        playsDone_ = 0;
        seek(0);
        break;
    }
    if (!core_->setFlag("pause", false))
        return false;
    showPhase(Phase::Playing);
    return true;
}

bool MpvEngine::pause()
{
    switch (phase_) {
    case Phase::Closed:
    case Phase::Failed: return false;
    case Phase::Opening: wantPlay_ = false; return core_->setFlag("pause", true);
    case Phase::Playing:
        if (!core_->setFlag("pause", true))
            return false;
        readPosition();
        showPhase(Phase::Paused);
        return true;
    default: return true;
    }
}

bool MpvEngine::stop()
{
    ++generation_;
    dropNext();
    switch (phase_) {
    case Phase::Closed:
    case Phase::Failed: return true;
    case Phase::Opening: wantPlay_ = false; return core_->setFlag("pause", true);
    default:
        core_->setFlag("pause", true);
        // Rewound at its end already: another seek would only hold up
        // whatever comes next (closing, the next file).
        if (!(phase_ == Phase::Ended && rewoundAtEnd_))
            seek(0);
        playsDone_ = 0;
        showPhase(Phase::Stopped);
        return true;
    }
}

void MpvEngine::seek(double seconds, bool exact)
{
    core_->command({"seek", QByteArray::number(std::max(seconds, 0.0), 'f', 3),
                    exact ? "absolute+exact" : "absolute+keyframes"});
}

void MpvEngine::seekByUser(double seconds, bool exact)
{
    if (phase_ == Phase::Closed || phase_ == Phase::Opening || phase_ == Phase::Failed)
        return;
    const double from = position();
    // Moved right onto its end, libmpv may stay there "playing" for good: the
    // play ends here as it does when it plays to its end.
    const double length = core_->getDouble("duration").value_or(0.0);
    if (phase_ == Phase::Playing && length > 0 && seconds >= length - 0.001) {
        dropNext();
        seek(length);
        pos_ = length;
        emit PositionChange(from, pos_);
        playedOut();
        return;
    }
    seek(seconds, exact);
    // The bar shows where the user put it, not where the file was.
    pos_ = std::max(seconds, 0.0);
    emit PositionChange(from, pos_);
    // From a stopped or ended file the next play goes on from there.
    if (phase_ == Phase::Stopped || phase_ == Phase::Ended)
        showPhase(Phase::Paused);
}

QByteArray MpvEngine::filterChain() const
{
    QByteArray chain = soundFilters(balance_, monoSound_).toUtf8();
    if (!filterTail_.isEmpty())
        chain += ',' + filterTail_;
    return chain;
}

// The balance lives in the filter list itself: libmpv rebuilds its filter
// graphs from that list at every seek and every loop of the play count, so a
// gain sent to a running graph would not last. Only the balance stage
// changes; the format of the sound and its output stay as they are, and
// libmpv swaps the stage without a gap.
bool MpvEngine::applyBalance()
{
    const QByteArray chain = filterChain();
    if (chain == filters_)
        return true;
    if (core_ && !core_->setString("af", chain))
        return false;
    filters_ = chain;
    return true;
}

void MpvEngine::onEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        startedEntry_ = static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (startedEntry_ != entry_)
            break;
        if (nextEntry_ < 0)
            core_->setString("gapless-audio", "no");
        // A carried file without a picture: the last frame goes now.
        if (holdPicture_ && core_->getString("vid") == QLatin1String("no")) {
            holdPicture_ = false;
            showVideoSize();
        }
        onLoaded();
        break;
    case MPV_EVENT_HOOK: {
        const auto *hook = static_cast<const mpv_event_hook *>(event.data);
        if (event.reply_userdata == TracksKnown && startedEntry_ == entry_) {
            if (probing_)
                addVideo();
            fitFilters();
        }
        // Settings the end of stream applies are heard from the carried
        // file's first sample: it waits for them, while the sound output
        // still plays the end of the file before.
        if (endPending_ && startedEntry_ == entry_ && !heldHook_)
            heldHook_ = hook->id;
        else
            core_->continueHook(hook->id);
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (end->playlist_entry_id != entry_ || entry_ < 0)
            break;
        if (end->reason == MPV_END_FILE_REASON_STOP || end->reason == MPV_END_FILE_REASON_QUIT)
            break;
        if (end->reason == MPV_END_FILE_REASON_EOF && nextEntry_ >= 0) {
            carryOn();
            break;
        }
        entry_ = -1;
        if (end->reason == MPV_END_FILE_REASON_EOF) {
            // Closed by libmpv itself at its end: that end was heard.
            const bool ended = phase_ == Phase::Ended;
            showPhase(Phase::Closed);
            if (!ended)
                endOfStream(0);
            break;
        }
        // An error, or a list instead of a medium: nothing of it is played.
        if (end->reason == MPV_END_FILE_REASON_REDIRECT)
            core_->command({"stop"});
        fail(end->reason == MPV_END_FILE_REASON_ERROR && end->error < 0 ? end->error : MPV_ERROR_UNKNOWN_FORMAT);
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE:
        onProperty(event.reply_userdata, *static_cast<const mpv_event_property *>(event.data));
        break;
    default: break;
    }
}

void MpvEngine::onProperty(quint64 id, const mpv_event_property &p)
{
    const bool isFlag = p.format == MPV_FORMAT_FLAG;
    const bool isDouble = p.format == MPV_FORMAT_DOUBLE;
    const bool isInt = p.format == MPV_FORMAT_INT64;
    switch (id) {
    case EofReached:
        if (isFlag && *static_cast<int *>(p.data) && phase_ == Phase::Playing)
            playedOut();
        break;
    case DurationProp:
        duration_ = isDouble ? *static_cast<double *>(p.data) : 0.0;
        showTimes();
        queueNext();
        break;
    case DWidth:
    case DHeight: {
        const bool shown = videoW_ > 0 && videoH_ > 0;
        (id == DWidth ? videoW_ : videoH_) = isInt ? *static_cast<int64_t *>(p.data) : 0;
        // Between two carried videos the picture keeps the last frame. libmpv
        // may close a file's picture before it tells that file's end.
        if (shown && nextEntry_ >= 0)
            holdPicture_ = true;
        if (holdPicture_ && (videoW_ <= 0 || videoH_ <= 0))
            break;
        holdPicture_ = false;
        showVideoSize();
        break;
    }
    case Metadata: refreshTitle(); break;
    default: break;
    }
}

void MpvEngine::addVideo()
{
    probing_ = false;
    const int tracks = int(core_->getDouble("track-list/count").value_or(0));
    for (int i = 0; i < tracks; ++i) {
        const QByteArray track = "track-list/" + QByteArray::number(i) + '/';
        if (core_->getString(track + "type") != QLatin1String("video"))
            continue;
        // No renderer (no OpenGL here): the sound plays on alone.
        if (picture_->startVideo(core_->handle()))
            core_->setString("vid", core_->getString(track + "id").toUtf8());
        return;
    }
}

// Before the sound starts: the filters for the file's kind of sound.
void MpvEngine::fitFilters()
{
    bool mono = false;
    const int tracks = int(core_->getDouble("track-list/count").value_or(0));
    for (int i = 0; i < tracks; ++i) {
        const QByteArray track = "track-list/" + QByteArray::number(i) + '/';
        if (core_->getString(track + "type") == QLatin1String("audio"))
            mono = mono || core_->getDouble(track + "demux-channel-count").value_or(2) == 1;
    }
    monoSound_ = mono;
    applyBalance();
}

void MpvEngine::onLoaded()
{
    if (phase_ != Phase::Opening)
        return;
    playsDone_ = 0;
    core_->setFlag("pause", !wantPlay_);
    showPhase(wantPlay_ ? Phase::Playing : Phase::Stopped);
    refreshTitle();
}

void MpvEngine::playedOut()
{
    ++playsDone_;
    nextAsked_ = false;
    if (playCount_ == 0 || playsDone_ < playCount_) {
        seek(0);
        core_->setFlag("pause", false);
        return;
    }
    core_->setFlag("pause", true);
    // Otherwise the last picture stays.
    rewoundAtEnd_ = autoRewind_;
    pos_ = autoRewind_ ? 0.0 : duration_;
    if (autoRewind_)
        seek(0);
    showPhase(Phase::Ended);
    endOfStream(0);
}

bool MpvEngine::showsVideoTrack() const
{
    const int tracks = int(core_->getDouble("track-list/count").value_or(0));
    for (int i = 0; i < tracks; ++i) {
        const QByteArray track = "track-list/" + QByteArray::number(i) + '/';
        if (core_->getString(track + "type") != QLatin1String("video") || !core_->getFlag(track + "selected").value_or(false))
            continue;
        // libmpv shows a music file's cover art, or an image file, as a video
        // track of one frame.
        return !core_->getFlag(track + "albumart").value_or(false) && !core_->getFlag(track + "image").value_or(false);
    }
    return false;
}

void MpvEngine::showVideoSize()
{
    const bool video = videoW_ > 0 && videoH_ > 0;
    area_->setVideoSize(video ? QSize(int(videoW_), int(videoH_)) : QSize());
    if (picture_)
        picture_->setBlank(!video);
}

void MpvEngine::fail(int error)
{
    dropNext();
    showPhase(Phase::Failed);
    const QString target = QString::fromUtf8(target_);
    const bool there = target.startsWith(QLatin1String("http"), Qt::CaseInsensitive) || QFileInfo(target).isFile();
    area_->panels()->showFailure(failureText(error, there));
    endOfStream(error);
}

void MpvEngine::endOfStream(int result)
{
    // Queued: the handler may replace the file or close the window, which it
    // must not do inside libmpv's event loop. A new file or a stop meanwhile
    // drops it.
    const quint64 generation = generation_;
    QTimer::singleShot(0, this, [this, generation, result] {
        QPointer<MpvEngine> alive(this);
        if (generation == generation_) {
            sameName_.clear();
            emit EndOfStream(result);
        }
        if (!alive)
            return;
        carried_.clear();
        releaseHook();
    });
}

void MpvEngine::refreshTitle()
{
    QString title, artist;
    if (phase_ == Phase::Failed)
        return;
    if (entry_ >= 0 && phase_ != Phase::Opening) {
        title = core_->getString("metadata/by-key/title").trimmed();
        artist = core_->getString("metadata/by-key/artist").trimmed();
    }
    if (title.isEmpty() && !name_.isEmpty())
        title = target_.startsWith("http") ? name_ : QFileInfo(name_).fileName();
    area_->panels()->setTitle(title, artist);
}

void MpvEngine::readPosition()
{
    if (core_ && entry_ >= 0 && phase_ != Phase::Opening)
        pos_ = core_->getDouble("time-pos").value_or(0.0);
}

void MpvEngine::showPhase(Phase phase)
{
    phase_ = phase;
    if (phase_ == Phase::Playing) {
        tick_->start();
        queueNext();
    } else {
        tick_->stop();
    }
    static const char *const texts[] = {"Arrêté", "Ouverture…", "Lecture", "Pause", "Arrêté", "Arrêté", "Arrêté"};
    area_->panels()->setState(QString::fromUtf8(texts[int(phase)]));
    showTimes();
    const int state = playState();
    if (state != lastState_) {
        const int old = std::exchange(lastState_, state);
        emit PlayStateChange(old, state);
    }
}

int MpvEngine::playState() const
{
    switch (phase_) {
    case Phase::Opening: return mpWaiting;
    case Phase::Playing: return mpPlaying;
    case Phase::Paused: return mpPaused;
    case Phase::Stopped:
    case Phase::Ended: return mpStopped;
    default: return mpClosed;
    }
}

void MpvEngine::showTimes()
{
    // A file that failed shows why, without a time.
    if (phase_ == Phase::Failed)
        return;
    const bool open = phase_ != Phase::Closed && phase_ != Phase::Failed && phase_ != Phase::Opening;
    const double at = open && phase_ != Phase::Stopped ? pos_ : 0.0;
    area_->panels()->setTimes(at, open ? duration_ : 0.0);
}
