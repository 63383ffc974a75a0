// What the user does to the video window by hand: size, place, full screen.
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/geometry_text.h"
#include "playback/frm_movie.h"
#include "playback/movie_toolbar.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

namespace {
bool waitFor(const std::function<bool()> &done) { return QTest::qWaitFor(done, 3000); }

// Balance is the last thing an activation sets.
bool activated(RecordingEngine *e)
{
    return waitFor([&] { return !e->entries("set 20 ").isEmpty(); });
}

bool showAndActivate(StartedApp &s)
{
    s.app.movie();
    s.engine->log.clear();
    ShowVideoWindow(s.app, QStringLiteral("/films/a.mkv"));
    return activated(s.engine);
}

// The user clicks the main window, then the video window again.
bool switchAwayAndBack(StartedApp &s)
{
    FrmSolvane *main = s.app.Solvane();
    main->activateWindow();
    if (!waitFor([&] { return main->isActiveWindow(); }))
        return false;
    s.engine->log.clear();
    s.app.movie()->activateWindow();
    return activated(s.engine);
}

QImage iconImage(const QIcon &icon) { return icon.pixmap(32, 32).toImage(); }
}  // namespace

TEST(VideoWindowByHand, AResizedWindowKeepsItsSizeAcrossActivations)
{
    StartedApp s;
    frmMovie *m = s.app.movie();
    ASSERT_TRUE(showAndActivate(s));
    const QSize before = m->size();

    // The user drags the frame: a normal window, a new size.
    m->resize(before + QSize(170, 90));
    ASSERT_TRUE(waitFor([&] { return m->size() == before + QSize(170, 90); }));
    EXPECT_EQ(s.app.VideoW, numberToText(m->twWidth()));
    EXPECT_EQ(s.app.VideoH, numberToText(m->twHeight()));

    ASSERT_TRUE(switchAwayAndBack(s));
    QTest::qWait(50);
    EXPECT_EQ(m->size(), before + QSize(170, 90));

    // Maximised is not a size of its own: restored, the window comes back
    // to the size the user gave it.
    m->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(waitFor([&] { return m->isMaximized(); }));
    m->setWindowState(Qt::WindowNoState);
    ASSERT_TRUE(switchAwayAndBack(s));
    EXPECT_TRUE(waitFor([&] { return m->size() == before + QSize(170, 90); })) << m->width() << 'x' << m->height();
}

TEST(VideoWindowByHand, LeavingFullScreenByHandStaysInAWindow)
{
    StartedApp s;
    Settings &c = s.app.settings;
    c = Settings::defaults();
    frmMovie *m = s.app.movie();
    ASSERT_TRUE(showAndActivate(s));
    m->Toolbar1->click(7);  // 200 %
    m->Toolbar1->click(8);  // full screen
    ASSERT_EQ(c.CfgDisplaySize, 3);

    // Escape or a double-click inside the engine leaves it for the size before.
    emit s.engine->DisplaySizeChanged(2);
    EXPECT_EQ(c.CfgDisplaySize, 2);
    EXPECT_EQ(m->Toolbar1->value(7), 1);
    EXPECT_EQ(m->Toolbar1->value(8), 0);

    // A later click on the picture activates the window: no full screen again.
    ASSERT_TRUE(switchAwayAndBack(s));
    EXPECT_EQ(s.engine->entries("set 1032"), QStringList{"set 1032 2"});
}

TEST(VideoWindowByHand, PlacedBesideTheMainWindowThenWhereTheUserPutsIt)
{
    {
        StartedApp s;
        FrmSolvane *main = s.app.Solvane();
        frmPlayList *list = s.app.playList();
        // A small screen: room on the right of the windows for a small video window.
        main->move(0, 0);
        main->imgUnLock_Click();
        frmMovie *m = s.app.movie();
        m->resize(300, 200);
        s.app.VideoW = numberToText(m->twWidth());
        s.app.VideoH = numberToText(m->twHeight());
        ASSERT_TRUE(showAndActivate(s));
        // Covers neither the main window nor the playlist docked under it.
        EXPECT_FALSE(m->frameGeometry().intersects(main->frameGeometry()));
        EXPECT_FALSE(m->frameGeometry().intersects(list->frameGeometry()));

        // Moved by the user, stopped and played again: it stays there.
        m->move(37, 52);
        ASSERT_TRUE(waitFor([&] { return m->pos() == QPoint(37, 52); }));
        main->imgStop_Click();
        ASSERT_FALSE(s.app.forms.loaded(FormId::frmMovie));
        ASSERT_TRUE(showAndActivate(s));
        EXPECT_EQ(s.app.movie()->pos(), QPoint(37, 52));
        s.app.forms.unload(FormId::Solvane);
    }
    // Stored beside its size, in twips, for the next run.
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "Solvane", "Solvane");
    EXPECT_EQ(store.value("config2/VPX").toString(), " 555");
    EXPECT_EQ(store.value("config2/VPY").toString(), " 780");
    EXPECT_TRUE(store.contains("config2/VX"));

    {
        StartedApp next;
        ASSERT_TRUE(showAndActivate(next));
        EXPECT_EQ(next.app.movie()->pos(), QPoint(37, 52));
    }
    // A place on a screen that is gone: the window comes back on screen.
    store.setValue("config2/VPX", " 1500000");
    store.sync();
    StartedApp moved;
    ASSERT_TRUE(showAndActivate(moved));
    EXPECT_TRUE(moved.app.movie()->screen()->availableGeometry().contains(moved.app.movie()->pos()));
}

TEST(VideoWindowByHand, EveryWindowShowsTheProgramIcon)
{
    StartedApp s;
    const QImage icon = iconImage(QIcon(QStringLiteral(":/skin/icon.svg")));
    ASSERT_FALSE(icon.isNull());
    for (QWidget *w : std::initializer_list<QWidget *>{s.app.Solvane(), s.app.movie(), s.app.playList()})
        EXPECT_EQ(iconImage(w->windowIcon()), icon) << w->windowTitle().toStdString();
}
