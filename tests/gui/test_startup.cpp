#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/geometry_text.h"
#include "platform/image_control.h"
#include "platform/twips.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "playlist/playlist_file.h"
#include "support/files.h"
#include "support/started_app.h"

namespace {

QSettings geometryStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Solvane", "Solvane");
}

// Shows the video window as for a file, and waits until it is framed.
bool showFramed(App &app)
{
    ShowVideoWindow(app, QStringLiteral("/films/a.mkv"));
    return QTest::qWaitFor([&app] { return app.movie()->frameKnown(); }, 5000);
}

}  // namespace

// The first run stores no size for a window never shown, even stopped; the
// video window keeps the size it was designed at once framed. Then a size
// given by hand, through Stop, a hidden reload by the clock and Quit from the
// video window's toolbar, is what the next start restores. (The places, the
// values stored, and the exit zone as the remote's Quit, are the real
// program's, end to end.)
TEST(Shutdown, StoresTheGeometryThatTheNextStartRestores)
{
    {
        StartedApp s;
        s.app.Solvane()->imgStop_Click();
        s.app.forms.unload(FormId::Solvane);
    }
    EXPECT_FALSE(geometryStore().contains("config2/VX"));
    QSize videoOuter;
    {
        StartedApp s;
        FrmSolvane *main = s.app.Solvane();
        frmMovie *movie = s.app.movie();
        const QSize designed = movie->size();
        ASSERT_TRUE(showFramed(s.app));
        movie->Form_Activate();
        EXPECT_EQ(movie->size(), designed);
        EXPECT_GT(movie->twHeight(), twips::fromPx(designed.height())) << "the frame counts in the outer size";
        EXPECT_EQ(s.app.VideoW + s.app.VideoH, numberToText(movie->twWidth()) + numberToText(movie->twHeight()));

        movie->resize(600, 400);
        videoOuter = QSize(movie->twWidth(), movie->twHeight());
        main->imgStop_Click();
        main->TCount_Timer();
        ASSERT_TRUE(s.app.forms.loaded(FormId::frmMovie));
        EXPECT_FALSE(s.app.movie()->isVisible());
        s.app.movie()->Toolbar1_ButtonClick(18);
        EXPECT_TRUE(s.app.hasEnded());
        EXPECT_FALSE(s.app.forms.loaded(FormId::frmMovie) || s.app.forms.loaded(FormId::frmPlayList));
        EXPECT_FALSE(QFile::exists(s.path("Solvane.cfg"))) << "the settings file is only written by the dialog";
    }
    // The video window's outer size, frame included, in twips.
    StartedApp next;
    EXPECT_EQ(next.app.movie()->twWidth(), videoOuter.width()) << "before the frame is known";
    ASSERT_TRUE(showFramed(next.app));
    EXPECT_EQ(next.app.movie()->size(), QSize(600, 400));
}

TEST(PlaySelected, PlaysOnlyWhatIsSelectedAndShowsItsOwnTime)
{
    StartedApp s;
    frmPlayList *list = s.app.playList();
    FrmSolvane *main = s.app.Solvane();
    s.engine->log.clear();

    // Empty playlist, then entries with nothing selected: no change anywhere.
    PlaySelected(s.app);
    list->AddItems({s.path("a.mp3"), s.path("b.ogg")});
    list->setListIndex(-1);
    PlaySelected(s.app);
    EXPECT_TRUE(s.engine->log.isEmpty());

    // The playlist window is hidden: the entry still plays. The settings are
    // in the engine before the file, without waiting for any activation.
    ASSERT_FALSE(list->isVisible());
    s.app.settings.CfgVolume = -2000;
    s.app.settings.CfgBalance = -10000;
    list->setListIndex(0);
    PlaySelected(s.app);
    const QStringList &log = s.engine->log;
    const qsizetype file = log.indexOf("set 1026 " + s.path("a.mp3"));
    EXPECT_EQ(s.engine->values[Disp::Volume], -2000);
    EXPECT_EQ(s.engine->values[Disp::Balance], -10000);
    EXPECT_TRUE(file > log.lastIndexOf(QRegularExpression("set (19|20) .*")) && log.indexOf("call 2001", file) > file) << log.join(", ").toStdString();

    // The ticks show the engine's time.
    s.engine->values[Disp::CurrentPosition] = 65.4;
    s.engine->values[Disp::Duration] = 225.0;
    main->TCount_Timer();
    main->TSlider_Timer();
    ASSERT_EQ(main->lblTime->text(), "01:05 / 03:45");

    // Playing over a running file: the window is retitled, the new file
    // replaces the old, and opens at 0 of an unknown length: no old time
    // until the next tick.
    s.engine->values[Disp::CurrentPosition] = 0.0;
    s.engine->values[Disp::Duration] = 0.0;
    s.engine->log.clear();
    list->setListIndex(1);
    PlaySelected(s.app);
    EXPECT_EQ(s.engine->entries("set 1026"), QStringList{"set 1026 " + s.path("b.ogg")});
    EXPECT_EQ(s.app.movie()->windowTitle(), s.path("b.ogg"));
    EXPECT_EQ(main->lblTime->text(), "00:00 / 00:00");

    // A track change leaves the keyboard where the user has it.
    list->show();
    list->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == list; }));
    list->setListIndex(0);
    PlaySelected(s.app);
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeWindow(), list);
    EXPECT_TRUE(list->LstPlay->hasFocus());
}

// A stored place off every screen, or sizes no screen holds, are brought
// back: the title bar within reach, the video window within the screen, at
// a place on it. A list named on the command line is loaded and its first
// entry plays; further files join the end of the list. (What the load does
// to the windows is the real program's, end to end.)
TEST(Startup, StoredGeometryKeptOnTheScreensAndAListOnTheCommandLineLoaded)
{
    QSettings store = geometryStore();
    store.setValue("config/X", "1e9");
    store.setValue("config/Y", "-5e300");
    store.setValue("config2/VX", "1e9");
    store.setValue("config2/VY", " 15");
    store.setValue("config2/VPX", " 1500000");
    store.sync();
    StartedApp s({"soir.M3U", "/m/en plus.ogg"}, false);
    ASSERT_TRUE(writeFile(s.path("soir.M3U"), "#EXTM3U\r\na.mp3\r\n/m/b.mp3\r\n"));
    FrmSolvane *main = s.app.Solvane();
    frmPlayList *l = s.app.playList();
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = main->frameGeometry();
    // The rules of the place are the window place's own test; here, a start follows them.
    EXPECT_TRUE(avail.contains(frame.topLeft())) << frame.x() << "," << frame.y();
    frmMovie *movie = s.app.movie();
    EXPECT_LE(movie->twWidth(), twips::fromPx(avail.width()));
    // The next activations apply the sizes kept, not the stored ones.
    EXPECT_EQ(textToNumber(s.app.VideoW), movie->twWidth());
    EXPECT_EQ(s.app.VideoH, " 1800");
    ASSERT_TRUE(showFramed(s.app));
    EXPECT_TRUE(avail.contains(movie->pos())) << movie->x() << "," << movie->y();

    EXPECT_EQ(s.app.PendingListFile, s.path("soir.M3U"));
    EXPECT_EQ(l->entries(), (QStringList{s.path("a.mp3"), "/m/b.mp3", "/m/en plus.ogg"}));
    EXPECT_EQ(s.engine->entries("set 1026"), QStringList{"set 1026 " + s.path("a.mp3")});

    // What is not taken is handed back (to a second start, which reports
    // it): files after a list that cannot be read, and those past the cap.
    const QString cwd = s.app.currentDir;
    EXPECT_EQ(main->actOnCommandLine({"absente.m3u", "/m/x.ogg"}, cwd), (QStringList{s.path("absente.m3u"), "/m/x.ogg"}));
    EXPECT_EQ(l->ListCount(), 3);
    ASSERT_TRUE(writeFile(s.path("pleine.m3u"), QByteArray("/m/a.mp3\n").repeated(playlist::kMaxEntries - 1)));
    EXPECT_EQ(main->actOnCommandLine({"pleine.m3u", "/m/y.ogg", "/m/z.ogg"}, cwd), QStringList{"/m/z.ogg"});
    EXPECT_EQ(l->ListCount(), playlist::kMaxEntries);
    EXPECT_EQ(main->actOnCommandLine({"/m/w.ogg"}, cwd), QStringList{"/m/w.ogg"});
}
