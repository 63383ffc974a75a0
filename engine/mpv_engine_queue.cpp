// Lists without a break: the file the end of stream will ask for is queued
// in libmpv ahead of the end, and libmpv goes on into it with the sound
// output open. Playback itself lives in mpv_engine.cpp.
#include "engine/mpv_engine.h"

#include <QDir>
#include <utility>

#include "engine/engine_rules.h"
#include "engine/mpv_picture.h"

namespace {
// How long before its end the next file is queued: time for libmpv to open it.
constexpr double kQueueAheadSeconds = 3.0;
}  // namespace

// The last play of a file nears its end: the file that comes next, when the
// window knows it, is queued in libmpv, which opens it ahead and goes on into
// it with the sound output still open.
void MpvEngine::queueNext()
{
    if (nextAsked_ || phase_ != Phase::Playing || !nextFile || duration_ <= 0 || duration_ - pos_ > kQueueAheadSeconds)
        return;
    if (playCount_ == 0 || playsDone_ + 1 < playCount_)
        return;
    nextAsked_ = true;
    const QString name = nextFile();
    if (name.isEmpty())
        return;
    nextTarget_ = mpvTarget(name, QDir::currentPath()).toUtf8();
    nextProbing_ = video_ && !picture_->hasVideo();
    const auto id = core_->loadFile(nextTarget_, nextProbing_ ? QByteArray("vid=no") : QByteArray(), true);
    if (!id || *id < 0)
        return;
    nextEntry_ = *id;
    nextName_ = name;
    // The output stays open whatever the next file's format: "weak" (same
    // format only) still left a hole of 11 ms in one change out of two on a
    // busy machine, and a reopened output costs the server's start-up.
    core_->setString("gapless-audio", "yes");
}

void MpvEngine::dropNext()
{
    nextAsked_ = false;
    if (nextEntry_ < 0)
        return;
    nextEntry_ = -1;
    nextName_.clear();
    core_->command({"playlist-clear"});
    core_->setString("gapless-audio", "no");
}

// libmpv went on into the queued file: it is the engine's file now, and the
// end of the one before is told as ever.
void MpvEngine::carryOn()
{
    entry_ = std::exchange(nextEntry_, -1);
    name_ = carried_ = std::exchange(nextName_, QString());
    target_ = nextTarget_;
    probing_ = nextProbing_;
    nextAsked_ = false;
    playsDone_ = 0;
    pos_ = 0;
    wantPlay_ = true;
    holdPicture_ = holdPicture_ || (videoW_ > 0 && videoH_ > 0);
    endPending_ = true;
    showPhase(Phase::Opening);
    refreshTitle();
    endOfStream(0);
}

void MpvEngine::releaseHook()
{
    endPending_ = false;
    if (heldHook_ && core_)
        core_->continueHook(std::exchange(heldHook_, 0));
}
