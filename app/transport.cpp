// The main window's transport zones and its time display.
#include <QLabel>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "app/time_display.h"
#include "platform/image_control.h"
#include "engine/media_engine.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"

namespace {
const char *kMediaFilter =
    "Video (MPEG-AVI-MOV)|*.mpg;*.mpeg;*.mov;*.mp*;*.wm*;*.wvx;*.vm*;*.avi|"
    "Windows Média (ASF-ASX)|*.asf;*.asx;*.wva|"
    "Audio (WAV-SND-AIF-MP3-AU)|*.MP3;*.MP2;*.DAT;*.WAV;*.AU;*.SND;*.AIF;*.AIF?;*.M1V;*.RA|"
    "Audio MIDI (MID-RMI-MIDI)|*.mid;*.rmi;*.midi|"
    "CD Audio (CDA)|*.cda|"
    "Audio (MP3-AU-SND)|*.mp3;*.au;*.snd|"
    "Fichiers images(BMP-GIF-JPG)|*.BMP;*.GIF;*.JPG;*.jp*;*.jif|"
    "Tous les fichiers (*.*)|*.*";

std::optional<double> readSeconds(MediaEngine *mp, Disp id)
{
    if (!mp)
        return std::nullopt;
    const auto v = mp->get(id);
    bool ok = false;
    const double d = v ? v->toDouble(&ok) : 0;
    return ok ? std::optional<double>(d) : std::nullopt;
}
}  // namespace

void FrmSolvane::imgOpen_Click()
{
    if (filterIndex_ == 0)
        filterIndex_ = 1;
    CommonDialog1.prepare(QStringLiteral("Ouvrir un fichier multimédia"), QString::fromUtf8(kMediaFilter),
                          CommonDialog::HideReadOnly, filterIndex_);
    if (!CommonDialog1.ShowOpen(this))
        return;  // cancelled: nothing changes
    filterIndex_ = qint16(CommonDialog1.FilterIndex);
    frmPlayList *list = app().playList();
    if (!list)
        return;
    const bool hadEntries = list->ListCount() > 0;
    if (!list->AddItem(CommonDialog1.FileName))
        return;
    list->setListIndex(hadEntries ? list->ListCount() - 1 : 0);
    PlaySelected(app());
}

void FrmSolvane::imgPlay_Click()
{
    frmPlayList *list = app().playList();
    if (!list)
        return;
    if (list->ListCount() == 0) {
        imgOpen_Click();
        return;
    }
    PlaySelected(app());
}

void FrmSolvane::ImgPause_Click()
{
    if (MediaEngine *mp = app().Mp())
        mp->call(Disp::Pause);
}

void FrmSolvane::imgStop_Click()
{
    if (MediaEngine *mp = app().Mp())
        mp->call(Disp::Stop);
    app().forms.unload(FormId::frmMovie);
}

void FrmSolvane::TCount_Timer()
{
    // Reading the engine loads a closed video window again, hidden.
    MediaEngine *mp = app().Mp();
    const auto position = readSeconds(mp, Disp::CurrentPosition);
    const auto duration = readSeconds(mp, Disp::Duration);
    // A failed read keeps the last text until the next tick.
    if (position && duration)
        lblTime->setText(timeText(*position, *duration));
}

void FrmSolvane::TSlider_Timer()
{
    MediaEngine *mp = app().Mp();
    const auto duration = readSeconds(mp, Disp::Duration);
    const auto position = readSeconds(mp, Disp::CurrentPosition);
    if (!duration || !position)
        return;
    if (const auto left = knobLeft(*position, *duration))
        imgSlider->setLeftTw(*left);
}
