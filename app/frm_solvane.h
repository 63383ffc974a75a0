#pragma once
#include <QTimer>
#include <memory>

#include "platform/common_dialog.h"
#include "platform/form.h"
#include "platform/form_registry.h"

class ImageControl;
class QLabel;
class QMenu;
class SingleInstance;
class TrayIcon;

// The main window: one skin picture with click zones laid over it, in a
// closed face (a compact title panel) or an open face (transport, caption,
// time and position knob).
class FrmSolvane : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Solvane;
    // A small tool window without a task-bar entry; a plain window with one
    // (and a minimise button) while there is no notification area.
    static constexpr Qt::WindowFlags kToolWindow =
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    static constexpr Qt::WindowFlags kTaskbarWindow = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                      Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
    explicit FrmSolvane(App &app);
    ~FrmSolvane() override;

    // Start-up and shutdown.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;

    // Loads PendingListFile into the playlist and plays its first entry;
    // false when the list could not be read.
    bool ChargeListe();
    // What start-up does with its command line; also what the running
    // player does with a later start's. Returns the files it did not take:
    // all of them when the list named first cannot be read.
    QStringList actOnCommandLine(const QStringList &arguments, const QString &currentDir);
    // Moves the playlist window under this one, left edges aligned; during a
    // drag, under where this one is at `topLeft` (outer, pixels).
    void redock();
    void redockAt(QPoint topLeft);

    void setCaption(const QString &text);
    void imgLock_Click();    // closed face
    void imgUnLock_Click();  // open face

    // Transport.
    void imgOpen_Click();
    void imgPlay_Click();
    void ImgPause_Click();
    void imgStop_Click();
    // Time and position, once a second.
    void TCount_Timer();
    void TSlider_Timer();

    // Skin, notification icon and its menu.
    void imgMain_MouseMove(int button);
    void Form_MouseMove(int button, int message);
    void imgMini_Click();
    void imgList_Click();
    void ImgConf_Click();
    void ImgInfo_Click();
    void Mnu_Afficher_Click();
    void Mnu_Masquer_Click();
    void Mnu_Config_Click();
    void Mnu_Aide_Click();
    void Mnu_Quitter_Click();

    // Every path that puts the main window away calls this: hidden while the
    // notification icon can bring it back, minimised with a task-bar entry
    // while there is no notification area.
    void hideToTray();
    TrayIcon *trayIcon() const { return tray_; }
    // Adds the icon when a notification area has appeared, and gives the
    // window a task-bar entry when it has gone; runs every few seconds.
    void checkNotificationArea();

    CommonDialog CommonDialog1;
    QMenu *Mnu_Fichier = nullptr;

    // The skin's controls, in the layout's order.
    ImageControl *imgMain, *imgLock, *imgUnLock, *ImgConf, *imgOpen, *imgPlay, *imgStop, *ImgPause,
        *imgSlider, *imgList, *ImgInfo, *imgMini, *imgExit;
    QLabel *lblCaption, *lblTime;
    QTimer TCount, TSlider;

    static QString trayTipText();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool event(QEvent *e) override;

private:
    void buildSkin();
    void buildMenu();
    void connectZones();
    void setTaskbarEntry(bool entry);

    std::unique_ptr<SingleInstance> instance_;
    TrayIcon *tray_ = nullptr;
    QTimer trayWatch_;
    // The open dialog's filter, remembered while the window lives (0 unset).
    qint16 filterIndex_ = 0;
    // The playlist window was hidden because this one was minimised.
    bool listHiddenByMinimise_ = false;
};
