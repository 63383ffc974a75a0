// The video window: its layout, toolbar and activations, its keys, and what
// the user does to it by hand (size, full screen). Its first place, a size
// given by hand and its place through Stop, Play, quit and a new start are
// the real program's, end to end.
#include <QCheckBox>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "app/geometry_text.h"
#include "dialogs/frm_conf.h"
#include "dialogs/help.h"
#include "dialogs/help_window.h"
#include "playback/frm_movie.h"
#include "playback/movie_toolbar.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

namespace {
bool waitFor(const std::function<bool()> &done) { return QTest::qWaitFor(done, 3000); }

// Balance is the last thing an activation sets.
bool activated(StartedApp &s) { return waitFor([&] { return !s.engine->entries("set 20 ").isEmpty(); }); }

// Shows the window as for a file, and waits for its activation.
bool showAndActivate(StartedApp &s)
{
    s.app.movie();
    s.engine->log.clear();
    ShowVideoWindow(s.app, QStringLiteral("/films/a.mkv"));
    return activated(s);
}

// The user clicks another window, then the video window again.
bool switchAwayAndBack(StartedApp &s)
{
    QWidget other;
    other.show();
    other.activateWindow();
    if (!waitFor([&] { return other.isActiveWindow(); }))
        return false;
    s.engine->log.clear();
    s.app.movie()->activateWindow();
    return activated(s);
}

// A key as the user presses it in `window`, once that window is active.
bool press(QWidget *window, Qt::Key key)
{
    window->activateWindow();
    if (!waitFor([&] { return window->isActiveWindow(); }))
        return false;
    QTest::keyClick(window, key);
    return true;
}
}  // namespace

TEST(VideoWindow, PlayerKeysFullScreenLeftByHandAndToolbarClicks)
{
    StartedApp s;
    Settings &c = s.app.settings;
    frmMovie *m = s.app.movie();
    ASSERT_TRUE(showAndActivate(s));
    RecordingEngine *e = s.engine;
    e->values[Disp::PlayState] = mpPlaying;
    e->values[Disp::CurrentPosition] = 3.0;
    e->values[Disp::Duration] = 60.0;
    e->log.clear();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_M})
        ASSERT_TRUE(press(m, key));
    EXPECT_EQ(e->log.filter(QRegularExpression("^(set|call)")),
              (QStringList{"call 2002", "set 1027 8", "set 1027 3", "set 1027 0", "set 19 0", "set 1089 false",
                           "set 19 -100", "set 1089 false", "set 19 -200", "set 1089 false", "set 19 -200", "set 1089 true"}));
    EXPECT_EQ(QList<int>({c.CfgVolume, c.CfgMute}), QList<int>({-200, 1}));

    // F and F11: full screen and back to the size before, as the toolbar's buttons.
    c.CfgDisplaySize = 2;
    ASSERT_TRUE(press(m, Qt::Key_F));
    EXPECT_EQ(QList<int>({c.CfgDisplaySize, m->Toolbar1->value(8)}), QList<int>({3, 1}));
    ASSERT_TRUE(press(m, Qt::Key_F11));
    EXPECT_EQ(e->entries("set 1032"), (QStringList{"set 1032 3", "set 1032 2"}));
    EXPECT_EQ(m->Toolbar1->value(7), 1);

    // Escape or a double-click inside the engine leaves full screen for the
    // size before; a later activation does not bring it back.
    ASSERT_TRUE(press(m, Qt::Key_F));
    emit e->DisplaySizeChanged(2);
    EXPECT_EQ(QList<int>({c.CfgDisplaySize, m->Toolbar1->value(7), m->Toolbar1->value(8)}), QList<int>({2, 1, 0}));
    ASSERT_TRUE(switchAwayAndBack(s));
    EXPECT_EQ(e->entries("set 1032"), QStringList{"set 1032 2"});

    // The main window knows them too: a paused file goes on; F1 opens help.
    e->values[Disp::PlayState] = mpPaused;
    ASSERT_TRUE(press(s.app.Solvane(), Qt::Key_Space));
    EXPECT_EQ(e->log.last(), "call 2001");
    ASSERT_TRUE(press(s.app.Solvane(), Qt::Key_F1));
    EXPECT_TRUE(helpWindow(s.app) && helpWindow(s.app)->isVisible());

    // The toolbar (its dialog, About and help buttons are the dialogs' own
    // tests; the scales are clicked on the real program).
    MovieToolbar *tb = m->Toolbar1;
    e->log.clear();
    for (int button : {1, 2, 6, 12, 15})
        tb->click(button);
    // Play from the toolbar gives the engine the settings first.
    const qsizetype play = e->log.indexOf("call 2001");
    EXPECT_GE(e->log.lastIndexOf("set 20 0", play), 0);
    EXPECT_EQ(QList<int>({c.CfgDisplaySize, c.CfgShowStatusBar}), QList<int>({1, 0}));
    // Sound set with the engine's own controls: kept, and the open dialog shows it.
    tb->click(17);
    emit e->SoundChanged(-1200, true);
    auto *conf = static_cast<FrmConf *>(s.app.forms.loaded(FormId::FrmConf));
    EXPECT_TRUE(conf->Slider1->value() == -1200 && conf->Check8->isChecked());

    // 50%, the status bar and the sound keep the user's choice (one scale
    // pressed at a time); the sound controls return to their setting.
    ASSERT_TRUE(switchAwayAndBack(s));
    for (const char *set : {"set 1032 1", "set 1107 true", "set 1086 false", "set 19 -1200", "set 1089 true"})
        EXPECT_TRUE(e->log.contains(set)) << set;
    EXPECT_EQ((QList<int>{tb->value(5), tb->value(6), tb->value(12), tb->value(15)}), (QList<int>{0, 1, 1, 0}));
    tb->click(15);
    EXPECT_EQ(c.CfgShowStatusBar, 1);
    EXPECT_EQ(e->values.value(Disp::ShowStatusBar), QVariant(true));

    // "Fermer" stops, closes and remembers the size.
    const QString w = numberToText(m->twWidth()), h = numberToText(m->twHeight());
    e->log.clear();
    tb->click(3);
    EXPECT_EQ(e->log, (QStringList{"call 2003", "call 2003"}));
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);
    EXPECT_EQ(s.app.VideoW + s.app.VideoH, w + h);
}

TEST(VideoWindow, ActivationImposesEverySettingInOrderThenSizes)
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
    const int clientHeight = m->height();
    s.app.VideoW = " 8250";
    s.app.VideoH = "haut";  // not a number: the height stays
    ASSERT_TRUE(showAndActivate(s));

    EXPECT_EQ(s.engine->entries("set "),
              (QStringList{"set 1032 2", "set 23 true", "set 1107 false", "set 26 true", "set 22 true",
                           "set 1086 true", "set 1108 false", "set 1018 true", "set 1017 true", "set 1089 true",
                           "set 1030 3", "set 1102 16744448", "set 1101 4", "set 19 -600", "set 20 -2500"}));
    for (int i = 5; i <= 15; ++i)
        EXPECT_EQ(m->Toolbar1->value(i), (i == 7 || i == 11 || i >= 13) ? 1 : 0) << "button " << i;
    EXPECT_EQ(m->twWidth(), 8250);
    EXPECT_EQ(m->height(), clientHeight);

    // Fitted to the screen: maximised, the picture fills the rest below the
    // toolbar; back to normal, the size it had returns.
    const int normalHeight = m->twHeight();
    c.CfgFitToScreen = 1;
    ASSERT_TRUE(switchAwayAndBack(s));
    EXPECT_TRUE(m->isMaximized());
    c.CfgFitToScreen = 0;
    ASSERT_TRUE(switchAwayAndBack(s));
    ASSERT_TRUE(switchAwayAndBack(s));
    EXPECT_FALSE(m->isMaximized());
    EXPECT_EQ(m->twHeight(), normalHeight);

    // The layout at each scale and in full screen is checked on the real
    // program's picture. Never so small that the toolbar loses buttons.
    m->resize(60, 40);
    EXPECT_TRUE(waitFor([&] { return m->Toolbar1->widgetForAction(m->Toolbar1->button(20))->isVisible(); }));

    // A size given by hand is kept through activations on the real desktop.
    m->resize(700, 500);
    ASSERT_TRUE(waitFor([&] { return m->size() == QSize(700, 500); }));

    // Closed in full screen, it remembers its own size, not the screen's.
    const QString w = numberToText(m->twWidth()), h = numberToText(m->twHeight());
    m->setWindowState(Qt::WindowFullScreen);
    EXPECT_TRUE(waitFor([&] { return m->width() > 700; }));
    m->Unload();
    EXPECT_EQ(s.app.VideoW + s.app.VideoH, w + h);
}
