#include "playback/engine_settings.h"

#include "app/settings.h"
#include "engine/media_engine.h"

void applySettings(MediaEngine &mp, const Settings &s)
{
    // Each step on its own: a value the engine refuses skips only that step.
    mp.set(Disp::DisplaySize, qint32(s.CfgDisplaySize));
    mp.set(Disp::ShowControls, s.CfgShowControls != 0);
    mp.set(Disp::ShowAudioControls, s.CfgShowAudioControls != 0);
    mp.set(Disp::ShowPositionControls, s.CfgShowPositionControls != 0);
    mp.set(Disp::ShowDisplay, s.CfgShowDisplay != 0);
    mp.set(Disp::ShowStatusBar, s.CfgShowStatusBar != 0);
    mp.set(Disp::EnableFullScreenControls, s.CfgFullScreenControls != 0);
    mp.set(Disp::AutoRewind, s.CfgAutoRewind != 0);
    mp.set(Disp::AutoStart, s.CfgAutoStart != 0);
    mp.set(Disp::Mute, s.CfgMute != 0);
    mp.set(Disp::PlayCount, qint32(s.CfgPlayCount));
    mp.set(Disp::VideoBorderColor, qint32(s.CfgBorderColor));
    mp.set(Disp::VideoBorderWidth, qint32(s.CfgBorderWidth));
    mp.set(Disp::Volume, qint32(s.CfgVolume));
    mp.set(Disp::Balance, qint32(s.CfgBalance));
}
