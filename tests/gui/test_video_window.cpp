#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include "app/geometry_text.h"
#include "playback/frm_movie.h"
#include "playback/movie_toolbar.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

static void PrintTo(const QRect &r, std::ostream *os)
{
    *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {
constexpr const char *kLastOfActivation = "set 20 ";

bool activated(RecordingEngine *e)
{
    return QTest::qWaitFor([e] { return !e->entries(kLastOfActivation).isEmpty(); }, 3000);
}

// Shows the window (as for a file) and waits for its activation to run.
bool showAndActivate(App &app, RecordingEngine *&e)
{
    frmMovie *m = app.movie();
    e->log.clear();
    ShowVideoWindow(app, QStringLiteral("/films/a.mkv"));
    return m->isVisible() && activated(e);
}

// The user clicks another window, then the video window again.
bool switchAwayAndBack(frmMovie *m, RecordingEngine *e)
{
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    if (!QTest::qWaitFor([&] { return other.isActiveWindow(); }, 3000))
        return false;
    e->log.clear();
    m->activateWindow();
    return activated(e);
}

QStringList engineSets(RecordingEngine *e) { return e->entries("set "); }
}  // namespace

TEST(VideoWindow, LayoutOfToolbarAndEngineArea)
{
    StartedApp s({}, false);
    s.app.settings.CfgShowToolbar = 1;
    frmMovie *m = s.app.movie();
    ASSERT_TRUE(showAndActivate(s.app, s.engine));
    QWidget *area = s.engine->widget();
    m->setTwWidth(9000);
    m->setTwHeight(6000);
    // 20 twips left, 420 for the toolbar, width - 160 and height - 420 - 420.
    EXPECT_TRUE(QTest::qWaitFor([&] { return area->geometry() == QRect(1, 28, 589, 344); }, 3000))
        << testing::PrintToString(area->geometry());
    EXPECT_EQ(m->Toolbar1->geometry(), QRect(0, 0, m->width(), 28));
    EXPECT_TRUE(m->Toolbar1->isVisible());

    m->Toolbar1->setShown(false);
    m->verticalLayout();
    EXPECT_EQ(area->geometry(), QRect(1, 0, 589, 372));  // 5580 twips high
    EXPECT_FALSE(m->Toolbar1->isVisible());
    EXPECT_EQ(m->Toolbar1->height(), 0);

    // Full screen: the picture alone over the whole window, then back.
    m->Toolbar1->setShown(true);
    m->setWindowState(Qt::WindowFullScreen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return area->geometry() == m->rect() && m->width() > 600; }, 3000));
    EXPECT_FALSE(m->Toolbar1->isVisible());
    EXPECT_TRUE(m->Toolbar1->shown());
    m->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m->Toolbar1->isVisible() && area->y() == 28; }, 3000));
}

TEST(VideoWindow, ActivationImposesEverySettingInOrder)
{
    StartedApp s({}, false);
    Settings &c = s.app.settings;
    c = Settings::defaults();
    c.CfgDisplaySize = 2;
    c.CfgShowAudioControls = 0;
    c.CfgFullScreenControls = 0;
    c.CfgMute = 1;
    c.CfgPlayCount = 3;
    c.CfgBorderColor = 0x00FF8000;
    c.CfgBorderWidth = 4;
    c.CfgVolume = -600;
    c.CfgBalance = -2500;
    frmMovie *m = s.app.movie();
    const int designHeight = m->twHeight();
    s.app.VideoW = " 8250";
    s.app.VideoH = "haut";  // not a number: the height stays
    ASSERT_TRUE(showAndActivate(s.app, s.engine));

    EXPECT_EQ(engineSets(s.engine),
              (QStringList{"set 1032 2", "set 23 true", "set 1107 false", "set 26 true", "set 22 true",
                           "set 1086 true", "set 1108 false", "set 1018 true", "set 1017 true", "set 1089 true",
                           "set 1030 3", "set 1102 16744448", "set 1101 4", "set 19 -600", "set 20 -2500"}));
    MovieToolbar *tb = m->Toolbar1;
    for (int i = 5; i <= 15; ++i)
        EXPECT_EQ(tb->value(i), (i == 7 || i == 11 || i >= 13) ? 1 : 0) << "button " << i;
    EXPECT_EQ(m->twWidth(), 8250);
    EXPECT_EQ(m->twHeight(), designHeight);
    EXPECT_FALSE(m->isMaximized());

    // Fitted to the screen: maximised, the picture fills below the toolbar,
    // and the remembered size waits until the window is normal again.
    c.CfgFitToScreen = 1;
    ASSERT_TRUE(switchAwayAndBack(m, s.engine));
    EXPECT_TRUE(m->isMaximized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.engine->widget()->geometry() == QRect(0, 28, m->width(), m->height() - 28); }, 3000));
    c.CfgFitToScreen = 0;
    s.app.VideoH = " 5400";
    ASSERT_TRUE(switchAwayAndBack(m, s.engine));
    EXPECT_FALSE(m->isMaximized());
    ASSERT_TRUE(switchAwayAndBack(m, s.engine));
    EXPECT_EQ(m->twHeight(), 5400);
}

TEST(VideoWindow, ToolbarButtonsAsDesigned)
{
    StartedApp s({}, false);
    MovieToolbar *tb = s.app.movie()->Toolbar1;
    using St = MovieToolbar::Style;
    const QStringList tips{"Lecture", "Pause", "Fermer", "", "Echelle 100%", "Echelle 50%", "Echelle 200%",
                           "Plein ecran", "Echelle personalisée", "", "Boutons de commande", "Contrôle du son",
                           "Afficher la barre de défilement", "Fenêtre de Titres", "Barre d'état", "",
                           "Configuration du lecteur", "Fermer et quitter Solvane", "A propos", "Aide"};
    for (int i = 1; i <= 20; ++i) {
        const St expected = (i == 4 || i == 10 || i == 16) ? St::Separator
                            : i >= 5 && i <= 9             ? St::Group
                            : i >= 11 && i <= 15           ? St::Check
                                                           : St::Normal;
        EXPECT_EQ(tb->style(i), expected) << i;
        EXPECT_EQ(tb->button(i)->toolTip(), tips[i - 1]) << i;
        EXPECT_EQ(tb->value(i), expected == St::Check ? 1 : 0) << i;
        if (expected != St::Separator)
            EXPECT_FALSE(tb->button(i)->icon().pixmap(16, 16).isNull()) << i;
    }
    EXPECT_EQ(tb->button(21), nullptr);

    // One scale at a time; a check button flips; states are 0 or 1 only.
    tb->click(6);
    tb->click(8);
    tb->click(8);
    EXPECT_EQ((QList<int>{tb->value(5), tb->value(6), tb->value(7), tb->value(8), tb->value(9)}),
              (QList<int>{0, 0, 0, 1, 0}));
    EXPECT_TRUE(tb->setValue(9, 1));
    EXPECT_EQ(tb->value(8), 0);
    tb->click(12);
    EXPECT_EQ(tb->value(12), 0);
    EXPECT_FALSE(tb->setValue(12, 2));
    EXPECT_EQ(tb->value(12), 0);
}

TEST(VideoWindow, ToolbarClicksAndWhatActivationKeeps)
{
    StartedApp s({}, false);
    s.app.settings = Settings::defaults();
    frmMovie *m = s.app.movie();
    ASSERT_TRUE(showAndActivate(s.app, s.engine));
    MovieToolbar *tb = m->Toolbar1;

    s.engine->log.clear();
    tb->click(1);
    tb->click(2);
    tb->click(7);
    tb->click(12);
    tb->click(15);
    EXPECT_EQ(s.engine->log, (QStringList{"call 2001", "call 2002", "set 1032 2", "get 1107", "set 1107 false",
                                          "get 1086", "set 1086 false"}));
    EXPECT_EQ(s.app.settings.CfgDisplaySize, 2);
    EXPECT_EQ(s.app.settings.CfgShowStatusBar, 0);

    // 200% and the status bar keep the toolbar's choice; the sound controls
    // return to their setting.
    ASSERT_TRUE(switchAwayAndBack(m, s.engine));
    EXPECT_TRUE(s.engine->log.contains("set 1032 2"));
    EXPECT_TRUE(s.engine->log.contains("set 1107 true"));
    EXPECT_TRUE(s.engine->log.contains("set 1086 false"));
    EXPECT_EQ((QList<int>{tb->value(5), tb->value(7), tb->value(12), tb->value(15)}), (QList<int>{0, 1, 1, 0}));

    tb->click(15);
    EXPECT_EQ(s.app.settings.CfgShowStatusBar, 1);
    EXPECT_EQ(s.engine->values.value(Disp::ShowStatusBar), QVariant(true));

    // Nothing behind these yet, and nothing breaks.
    tb->click(17);
    tb->click(19);
    tb->click(20);

    // "Fermer": stops, closes, remembers the size; the next file brings it back.
    m->setTwWidth(8100);
    m->setTwHeight(5250);
    QTest::qWaitFor([&] { return m->twHeight() == 5250; }, 3000);
    const QString w = numberToText(m->twWidth()), h = numberToText(m->twHeight());
    s.engine->log.clear();
    tb->click(3);
    EXPECT_EQ(s.engine->log, (QStringList{"call 2003", "call 2003"}));
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);
    EXPECT_EQ(s.app.VideoW, w);
    EXPECT_EQ(s.app.VideoH, h);
    ASSERT_TRUE(showAndActivate(s.app, s.engine));
    EXPECT_EQ(numberToText(s.app.movie()->twWidth()), w);
    EXPECT_EQ(numberToText(s.app.movie()->twHeight()), h);
}

namespace {
// A started program with three entries, the given one selected.
struct ListPlaying
{
    explicit ListPlaying(int selected, qint16 exitAtEnd, qint16 playCount, qint16 loopList,
                         const QStringList &entries = {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"})
    {
        Settings &c = s.app.settings;
        c.CfgExitAtEnd = exitAtEnd;
        c.CfgPlayCount = playCount;
        c.CfgLoopList = loopList;
        list = s.app.playList();
        list->AddItems(entries);
        list->setListIndex(selected);
        list->show();
        s.engine->log.clear();
    }
    void end(int Result) { emit s.engine->EndOfStream(Result); }

    StartedApp s;
    frmPlayList *list = nullptr;
};
}  // namespace

TEST(VideoWindowEndOfStream, QuitsWhenPlayedOnceAndAskedTo)
{
    ListPlaying p(0, 1, 1, 0);
    p.end(0);
    EXPECT_TRUE(p.s.app.hasEnded());
    EXPECT_TRUE(p.s.engine->entries("set 1026").isEmpty());
    EXPECT_EQ(p.s.engine->entries("call 2003").size(), 1);  // the video window's unload
    for (FormId id : {FormId::frmPlayList, FormId::Solvane, FormId::frmMovie})
        EXPECT_EQ(p.s.app.forms.loaded(id), nullptr);

    // Played twice each: the quit rule does not apply, the next entry plays.
    ListPlaying twice(0, 1, 2, 0);
    twice.end(0);
    EXPECT_FALSE(twice.s.app.hasEnded());
    EXPECT_EQ(twice.s.engine->entries("set 1026"), (QStringList{"set 1026 /m/2.mp3", "set 1026 /m/2.mp3"}));
    EXPECT_EQ(twice.s.engine->log.last(), "call 2001");
    EXPECT_EQ(twice.s.app.CurrentFile, "/m/2.mp3");
    EXPECT_EQ(twice.s.app.movie()->windowTitle(), "/m/2.mp3");
}

TEST(VideoWindowEndOfStream, NothingSelectedPlaysTheFirstEntry)
{
    ListPlaying p(-1, 0, 0, 0);
    p.end(-5);  // a failed file moves on all the same
    EXPECT_EQ(p.list->ListIndex(), 0);
    EXPECT_EQ(p.s.engine->entries("set 1026").value(0), "set 1026 /m/1.mp3");
    EXPECT_TRUE(p.s.engine->log.contains("call 2001"));
}

TEST(VideoWindowEndOfStream, LastEntryLoopsOrStops)
{
    ListPlaying loop(2, 0, 1, 1);
    loop.end(0);
    EXPECT_EQ(loop.list->ListIndex(), 0);
    EXPECT_EQ(loop.s.engine->entries("set 1026"), (QStringList{"set 1026 /m/1.mp3", "set 1026 /m/1.mp3"}));
    EXPECT_EQ(loop.s.engine->log.last(), "call 2001");
    EXPECT_FALSE(loop.list->isVisible());
    EXPECT_FALSE(loop.s.app.Solvane()->isVisible());
    EXPECT_TRUE(loop.s.app.movie()->isVisible());

    // Not a normal end, no looping, or a play count other than 1: it stops.
    struct Case { qint16 playCount, loopList; int Result; };
    for (const Case c : {Case{1, 1, 3}, Case{1, 0, 0}, Case{0, 1, 0}}) {
        ListPlaying p(2, 0, c.playCount, c.loopList);
        p.end(c.Result);
        EXPECT_TRUE(p.s.engine->log.isEmpty()) << p.s.engine->log.join(", ").toStdString();
        EXPECT_EQ(p.list->ListIndex(), 2);
        EXPECT_TRUE(p.s.app.Solvane()->isVisible());
    }

    // An empty list: the engine gets the empty text, both windows hide, nothing plays.
    ListPlaying empty(-1, 0, 1, 1, {});
    empty.end(0);
    EXPECT_EQ(empty.s.engine->log, QStringList{"set 1026 "});
    EXPECT_FALSE(empty.list->isVisible());
    EXPECT_FALSE(empty.s.app.Solvane()->isVisible());
    EXPECT_EQ(empty.s.app.CurrentFile, "");
}
