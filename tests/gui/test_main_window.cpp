#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolTip>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/common_dialog.h"
#include "platform/image_control.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/files.h"
#include "support/started_app.h"

TEST(MainWindow, TransportTrayIconMenuAndToolTips)
{
    StartedApp s;
    FrmSolvane *main = s.app.Solvane();
    frmPlayList *list = s.app.playList();
    // Answers the open dialog with `file` (empty: cancel).
    QString file;
    int asked = 0;
    CommonDialog::setResponder([&](CommonDialog &d, CommonDialog::Kind) {
        ++asked;
        d.FileName = file;
        return !file.isEmpty();
    });

    // Play on an empty list falls back to the open dialog; cancel changes nothing.
    main->imgPlay_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_TRUE(s.engine->entries("set 1026").isEmpty());

    // A chosen file is appended, selected and played, twice over.
    file = s.path("a.mp3");
    main->imgOpen_Click();
    main->imgOpen_Click();
    CommonDialog::setResponder({});
    EXPECT_EQ(list->ListCount(), 2) << "the same file twice gives two entries";
    EXPECT_EQ(list->ListIndex(), 1);
    EXPECT_EQ(s.engine->entries("set 1026"), QStringList(2, "set 1026 " + file));

    // Stop closes the video window (pause is the keys' and the toolbar's test).
    main->imgStop_Click();
    EXPECT_FALSE(s.app.forms.loaded(FormId::frmMovie));
    EXPECT_EQ(list->ListIndex(), 1);

    // The notification area's icon, its messages and menu; the tool tips.
    ASSERT_TRUE(main->trayIcon()->isShown());
    EXPECT_EQ(main->windowType(), Qt::Tool) << "no task-bar entry";
    main->imgUnLock_Click();
    EXPECT_TRUE(list->isVisible());

    // Another window active: the skins still explain their zones; the
    // caption shows the whole path of a long one.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.isActiveWindow(); }, 3000));
    main->setCaption("/un/très/long/chemin/de/dossiers/qui/ne/tient/pas/dans/la/fenêtre/film.mkv");
    for (QWidget *zone : std::initializer_list<QWidget *>{main->ImgPause, list->ImgDEL, main->lblCaption}) {
        QTest::mouseMove(zone, zone->rect().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == zone->toolTip(); }, 3000))
            << zone->toolTip().toStdString();
    }
    QToolTip::hideText();

    // Minimised by a window manager, the playlist goes along and comes back.
    main->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(list->isVisible());
    main->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(list->isVisible());

    main->imgMini_Click();
    EXPECT_FALSE(main->isVisible() || list->isVisible());
    // A right click opens the menu; the hidden window stays hidden.
    main->Form_MouseMove(1, 517);
    EXPECT_TRUE(main->Mnu_Fichier->isVisible());
    EXPECT_FALSE(main->isVisible());
    main->Mnu_Fichier->hide();

    // Left button up restores the main window in its face; the list stays hidden.
    main->Form_MouseMove(1, 514);
    EXPECT_TRUE(main->isVisible() && !main->isMinimized() && !main->imgPlay->isHidden());
    EXPECT_FALSE(list->isVisible());

    main->imgList_Click();
    EXPECT_TRUE(list->isVisible());

    // "Masquer" hides both windows; "Afficher" brings back the main one only.
    main->Mnu_Fichier->actions().at(1)->trigger();
    EXPECT_FALSE(main->isVisible() || list->isVisible());
    main->Mnu_Fichier->actions().at(0)->trigger();
    EXPECT_TRUE(main->isVisible() && !list->isVisible());

    // The closed face hides the transport and the list, shows the unlock zone.
    main->imgList_Click();
    main->imgLock_Click();
    EXPECT_EQ(main->imgMain->picture(), ":/skin/main_closed.svg");
    for (QWidget *w : std::initializer_list<QWidget *>{main->imgOpen, main->imgPlay, main->imgStop, main->imgLock,
                                                       main->lblCaption, main->lblTime, main->imgList,
                                                       main->imgSlider, list})
        EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(main->imgUnLock->isVisible() && main->ImgPause->isVisible());

    // "Quitter" ends at once: no geometry stored.
    main->Mnu_Fichier->actions().last()->trigger();
    EXPECT_TRUE(s.app.hasEnded());
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "Solvane", "Solvane");
    EXPECT_FALSE(store.contains("config/X"));
}

// Without a notification area nothing could bring a hidden main window back:
// it keeps a task-bar entry and every path that would hide it minimises it
// (imgMini and a list load, which put it away as a list starting again
// does, are checked on the real desktop, end to end).
// A panel that starts later gets the icon; one that goes gives the entry back.
TEST(MainWindowTray, WithoutANotificationAreaTheWindowMinimises)
{
    StartedApp s({}, false);
    s.tray.present = false;
    FrmSolvane *main = s.app.Solvane();
    frmPlayList *list = s.app.playList();
    const auto minimised = [main] { return main->isVisible() && main->isMinimized(); };

    main->imgUnLock_Click();
    main->Mnu_Masquer_Click();
    EXPECT_TRUE(minimised() && !list->isVisible());
    main->Mnu_Afficher_Click();
    EXPECT_FALSE(main->isMinimized());
    EXPECT_FALSE(list->isVisible()) << "the playlist stays hidden, as after hiding";

    s.tray.present = true;
    EXPECT_TRUE(QTest::qWaitFor([main] { return main->trayIcon()->isShown(); }, 10000));
    EXPECT_EQ(main->windowType(), Qt::Tool);
    main->imgMini_Click();
    s.tray.present = false;
    main->checkNotificationArea();
    EXPECT_FALSE(main->trayIcon()->isShown());
    EXPECT_EQ(main->windowType(), Qt::Window);
    EXPECT_TRUE(minimised());
}
