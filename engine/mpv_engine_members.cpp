// The engine's members by dispatch id: checking and storing what is set,
// answering what is read. Playback itself lives in mpv_engine.cpp.
#include "engine/mpv_engine.h"

#include <QColor>
#include <utility>

#include "engine/engine_area.h"
#include "engine/engine_panels.h"
#include "engine/engine_rules.h"
#include "engine/mpv_core.h"

namespace {
std::optional<int> toInt(const QVariant &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<bool> toBool(const QVariant &value)
{
    if (!value.isValid() || !value.canConvert<bool>())
        return std::nullopt;
    return value.toBool();
}
}  // namespace

bool MpvEngine::setMember(Disp id, const QVariant &value)
{
    EnginePanels *panels = area_->panels();
    const auto number = toInt(value);
    const auto flag = toBool(value);
    auto show = [&](Panel panel) {
        if (flag)
            panels->setPanelShown(panel, *flag);
        return flag.has_value();
    };
    switch (id) {
    case Disp::FileName: return value.canConvert<QString>() && open(value.toString());
    case Disp::CurrentPosition: {
        bool ok = false;
        const double s = value.toDouble(&ok);
        if (!ok || phase_ == Phase::Closed || phase_ == Phase::Opening || phase_ == Phase::Failed)
            return false;
        seekByUser(s);
        return true;
    }
    case Disp::DisplaySize:
        if (!number || *number < 0 || *number > 4)
            return false;
        if (*number != area_->displaySize())
            area_->setDisplaySize(*number);
        return true;
    case Disp::ShowControls: return show(Panel::Controls);
    case Disp::ShowAudioControls: return show(Panel::Sound);
    case Disp::ShowPositionControls: return show(Panel::Position);
    case Disp::ShowDisplay: return show(Panel::Title);
    case Disp::ShowStatusBar: return show(Panel::Status);
    case Disp::EnableFullScreenControls:
        if (!flag)
            return false;
        fullScreenControls_ = *flag;
        area_->setFullScreenControls(*flag);
        return true;
    case Disp::AutoRewind:
        if (flag)
            autoRewind_ = *flag;
        return flag.has_value();
    case Disp::AutoStart:
        if (flag)
            autoStart_ = *flag;
        return flag.has_value();
    case Disp::Mute:
        if (flag && *flag == mute_)
            return true;
        if (!flag || !setFlag("mute", *flag))
            return false;
        mute_ = *flag;
        panels->setMuted(mute_);
        return true;
    case Disp::PlayCount:
        if (!number || *number < 0)
            return false;
        // The file queued after this play may no longer follow it.
        if (std::exchange(playCount_, *number) != *number && core_)
            dropNext();
        return true;
    case Disp::VideoBorderColor:
        if (!number)
            return false;
        if (*number == borderColor_)
            return true;
        borderColor_ = *number;
        applyBorder();
        return true;
    case Disp::VideoBorderWidth:
        if (!number || *number < 0)
            return false;
        if (*number == borderWidth_)
            return true;
        borderWidth_ = *number;
        applyBorder();
        return true;
    case Disp::Volume:
        if (number && std::min(*number, 0) == volume_)
            return true;
        if (!number || !setDouble("volume", mpvVolume(*number)))
            return false;
        volume_ = std::min(*number, 0);
        panels->setVolume(volume_);
        return true;
    case Disp::Balance: {
        if (!number)
            return false;
        const int old = balance_;
        balance_ = std::clamp(*number, -10000, 10000);
        if (balance_ == old)
            return true;
        if (applyBalance())
            return true;
        balance_ = old;
        return false;
    }
    default: return false;
    }
}

std::optional<QVariant> MpvEngine::getMember(Disp id)
{
    const EnginePanels *panels = area_->panels();
    switch (id) {
    case Disp::FileName: return name_;
    case Disp::CurrentPosition: return position();
    case Disp::Duration:
        if (phase_ == Phase::Closed || phase_ == Phase::Failed || phase_ == Phase::Opening)
            return 0.0;
        return core_->getDouble("duration").value_or(0.0);
    case Disp::DisplaySize: return area_->displaySize();
    case Disp::ShowControls: return panels->panelShown(Panel::Controls);
    case Disp::ShowAudioControls: return panels->panelShown(Panel::Sound);
    case Disp::ShowPositionControls: return panels->panelShown(Panel::Position);
    case Disp::ShowDisplay: return panels->panelShown(Panel::Title);
    case Disp::ShowStatusBar: return panels->panelShown(Panel::Status);
    case Disp::EnableFullScreenControls: return fullScreenControls_;
    case Disp::AutoRewind: return autoRewind_;
    case Disp::AutoStart: return autoStart_;
    case Disp::Mute: return mute_;
    case Disp::PlayCount: return playCount_;
    case Disp::VideoBorderColor: return borderColor_;
    case Disp::VideoBorderWidth: return borderWidth_;
    case Disp::Volume: return volume_;
    case Disp::Balance: return balance_;
    case Disp::PlayState: return playState();
    case Disp::ImageSourceWidth: return int(videoW_);
    case Disp::ImageSourceHeight: return int(videoH_);
    case Disp::HasVideo: return videoW_ > 0 && core_ && showsVideoTrack();
    case Disp::ClipTitle:
    case Disp::ClipAuthor:
        if (entry_ < 0 || phase_ == Phase::Opening)
            return QString();
        return core_->getString(id == Disp::ClipTitle ? "metadata/by-key/title" : "metadata/by-key/artist").trimmed();
    default: return std::nullopt;
    }
}

void MpvEngine::applyBorder()
{
    // 0x00BBGGRR
    area_->setBorder(QColor(borderColor_ & 0xff, (borderColor_ >> 8) & 0xff, (borderColor_ >> 16) & 0xff),
                     borderWidth_);
}
