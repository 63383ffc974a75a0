// The main window's own behaviours: zones, dragging, the notification icon
// and its pop-up menu.
#include <QCursor>
#include <QMenu>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "platform/image_control.h"
#include "platform/tray_icon.h"
#include "platform/window_drag.h"
#include "dialogs/help.h"
#include "playlist/frm_playlist.h"

void FrmSolvane::connectZones()
{
    connect(imgUnLock, &ImageControl::Click, this, &FrmSolvane::imgUnLock_Click);
    connect(imgLock, &ImageControl::Click, this, &FrmSolvane::imgLock_Click);
    connect(imgOpen, &ImageControl::Click, this, &FrmSolvane::imgOpen_Click);
    connect(imgPlay, &ImageControl::Click, this, &FrmSolvane::imgPlay_Click);
    connect(ImgPause, &ImageControl::Click, this, &FrmSolvane::ImgPause_Click);
    connect(imgStop, &ImageControl::Click, this, &FrmSolvane::imgStop_Click);
    connect(imgMini, &ImageControl::Click, this, &FrmSolvane::imgMini_Click);
    connect(imgList, &ImageControl::Click, this, &FrmSolvane::imgList_Click);
    connect(ImgConf, &ImageControl::Click, this, &FrmSolvane::ImgConf_Click);
    connect(ImgInfo, &ImageControl::Click, this, &FrmSolvane::ImgInfo_Click);
    connect(imgExit, &ImageControl::Click, this, &Form::Unload);
    connect(imgMain, &ImageControl::MouseMove, this, &FrmSolvane::imgMain_MouseMove);
    connect(imgMain, &ImageControl::Click, this, &FrmSolvane::redock);
    connect(imgMain, &ImageControl::MouseDown, this, &FrmSolvane::redock);
    connect(imgMain, &ImageControl::MouseUp, this, &FrmSolvane::redock);
}

void FrmSolvane::buildMenu()
{
    Mnu_Fichier = new QMenu(QStringLiteral("&Fichier"), this);
    Mnu_Fichier->addAction(QStringLiteral("Afficher"), this, &FrmSolvane::Mnu_Afficher_Click);
    Mnu_Fichier->addAction(QStringLiteral("Masquer"), this, &FrmSolvane::Mnu_Masquer_Click);
    Mnu_Fichier->addSeparator();
    Mnu_Fichier->addAction(QStringLiteral("Ouvrir"), this, &FrmSolvane::imgOpen_Click);
    Mnu_Fichier->addSeparator();
    Mnu_Fichier->addAction(QStringLiteral("Lecture"), this, &FrmSolvane::imgPlay_Click);
    Mnu_Fichier->addAction(QStringLiteral("Pause"), this, &FrmSolvane::ImgPause_Click);
    Mnu_Fichier->addAction(QStringLiteral("Stop"), this, &FrmSolvane::imgStop_Click);
    Mnu_Fichier->addSeparator();
    Mnu_Fichier->addAction(QStringLiteral("Aide"), this, &FrmSolvane::Mnu_Aide_Click);
    Mnu_Fichier->addAction(QStringLiteral("Configuration"), this, &FrmSolvane::Mnu_Config_Click);
    Mnu_Fichier->addAction(QStringLiteral("A Propos"), this, &FrmSolvane::ImgInfo_Click);
    Mnu_Fichier->addSeparator();
    Mnu_Fichier->addAction(QStringLiteral("Quitter"), this, &FrmSolvane::Mnu_Quitter_Click);
}

void FrmSolvane::imgMain_MouseMove(int button)
{
    if (button != 1)
        return;
    dragWindow(this, [this](QPoint at) { redockAt(at); });
}

void FrmSolvane::Form_MouseMove(int button, int message)
{
    switch (message) {
    case TrayIcon::LeftButtonUp:
    case TrayIcon::LeftDoubleClick:
        Mnu_Afficher_Click();
        break;
    case TrayIcon::RightButtonUp:
        activateWindow();
        Mnu_Fichier->popup(QCursor::pos());
        break;
    default:
        break;
    }
    if (button == 1)
        redock();
}

void FrmSolvane::Mnu_Afficher_Click()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    raise();
    activateWindow();
}

void FrmSolvane::Mnu_Masquer_Click()
{
    // The playlist first: a minimised main window would otherwise bring back
    // the playlist it took along.
    if (frmPlayList *list = app().playList())
        list->hide();
    hideToTray();
}

void FrmSolvane::imgMini_Click()
{
    if (frmPlayList *list = app().playList())
        list->hide();
    hideToTray();
}

void FrmSolvane::hideToTray()
{
    if (tray_ && tray_->isShown())
        hide();
    else
        showMinimized();
}

void FrmSolvane::checkNotificationArea()
{
    if (!tray_)
        return;
    const bool present = TrayIcon::available();
    if (present && !tray_->isShown()) {
        if (tray_->add(windowIcon(), trayTipText()))
            setTaskbarEntry(false);
    } else if (!present && tray_->isShown()) {
        // The panel went away: the icon can no longer bring the window back.
        tray_->remove();
        setTaskbarEntry(true);
        if (!isVisible())
            showMinimized();
    }
}

void FrmSolvane::setTaskbarEntry(bool entry)
{
    const Qt::WindowFlags flags = entry ? kTaskbarWindow : kToolWindow;
    if (windowType() == (flags & Qt::WindowType_Mask))
        return;
    const bool shown = isVisible();
    const bool minimised = isMinimized();
    const QPoint place = pos();
    // Changing the kind of window hides it; it comes back as it was, except
    // that a minimised window now waits behind the icon.
    // A fresh native window: the old one may still believe itself minimised
    // after the window manager restored it, and would come back so.
    if (testAttribute(Qt::WA_WState_Created))
        destroy();
    setWindowFlags(flags);
    move(place);
    if (!shown || (minimised && !entry))
        return;
    if (minimised)
        showMinimized();
    else
        show();
}

void FrmSolvane::imgList_Click()
{
    if (frmPlayList *list = app().playList())
        list->setVisible(!list->isVisible());
}

void FrmSolvane::ImgConf_Click() { app().forms.showModeless(FormId::FrmConf); }
void FrmSolvane::ImgInfo_Click() { app().forms.showModeless(FormId::FrmApropos); }

void FrmSolvane::Mnu_Config_Click()
{
    show();
    ImgConf_Click();
}

void FrmSolvane::Mnu_Aide_Click() { showHelp(app()); }

// Ends at once: the window positions of this run are not stored.
void FrmSolvane::Mnu_Quitter_Click() { app().endProgram(); }
