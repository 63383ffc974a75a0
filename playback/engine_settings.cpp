#include "playback/engine_settings.h"

#include "app/app_context.h"
#include "app/settings.h"
#include "dialogs/frm_conf.h"
#include "engine/media_engine.h"
#include "playback/frm_movie.h"

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

void setSound(App &app, qint16 volume, bool muted)
{
    app.settings.CfgVolume = volume;
    app.settings.CfgMute = muted ? 1 : 0;
    // Reaching the engine must not load a closed video window.
    if (auto *movie = static_cast<frmMovie *>(app.forms.loaded(FormId::frmMovie)); movie && movie->Mp()) {
        movie->Mp()->set(Disp::Volume, qint32(volume));
        movie->Mp()->set(Disp::Mute, muted);
    }
    if (auto *conf = static_cast<FrmConf *>(app.forms.loaded(FormId::FrmConf)))
        conf->showSound();
}
