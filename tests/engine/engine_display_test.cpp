#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>

#include "tests/engine/engine_test_support.h"

TEST(EngineDisplay, FullScreenFillsTheWindowUntilEscapeOrDoubleClick)
{
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    QWidget &window = *rig.host;
    window.show();
    QWidget *picture = part(mp, "picture");
    ASSERT_TRUE(mp.set(Disp::EnableFullScreenControls, true));

    ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
    ASSERT_TRUE(waitFor([&] { return window.isFullScreen() && picture->size() == window.size(); }, 2000));
    EXPECT_EQ(picture->mapTo(&window, QPoint(0, 0)), QPoint(0, 0));
    EXPECT_FALSE(part(mp, "statusBar")->isVisible());
    EXPECT_TRUE(mp.get(Disp::ShowStatusBar).value_or(false).toBool()) << "reads what is set";

    // The controls come over the picture when the mouse moves.
    QWidget *overlay = part(mp, "fullScreenControls");
    EXPECT_FALSE(overlay->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), picture->mapToGlobal(QPointF(50, 50)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &move);
    EXPECT_TRUE(overlay->isVisible());

    // The video window setting its own state keeps the picture full screen.
    window.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(waitFor([&] { return window.isFullScreen(); }, 1000));

    // Left by hand, the window is told which size is in use again.
    QSignalSpy left(&mp, &MediaEngine::DisplaySizeChanged);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return !window.isFullScreen(); }, 1000));
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(part(mp, "statusBar")->isVisible());
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_EQ(mp.get(Disp::DisplaySize).value_or(-1).toInt(), 0);

    ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
    ASSERT_TRUE(waitFor([&] { return window.isFullScreen(); }, 1000));
    QTest::mouseDClick(picture, Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return !window.isFullScreen(); }, 1000));
    EXPECT_EQ(left.size(), 2);
    EXPECT_TRUE(part(mp, "controlButtons")->isVisible());
}

TEST(EngineDisplay, PanelsDisplaySizesBorderAndTitle)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(makeVideo(clip, 1.0));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    rig.host->resize(800, 600);
    mp.widget()->setGeometry(0, 0, 800, 600);
    rig.host->show();
    QWidget *picture = part(mp, "picture");
    QWidget *frame = part(mp, "pictureFrame");
    // Every panel hides as set; with none the picture takes the whole area.
    const std::pair<Disp, const char *> panels[] = {{Disp::ShowControls, "controlButtons"},
        {Disp::ShowAudioControls, "soundControls"}, {Disp::ShowPositionControls, "positionBar"},
        {Disp::ShowStatusBar, "statusBar"}, {Disp::ShowDisplay, "titlePanel"}};
    for (auto [id, name] : panels) {
        ASSERT_TRUE(mp.set(id, false));
        EXPECT_FALSE(part(mp, name)->isVisible()) << name;
    }
    EXPECT_EQ(picture->size(), mp.widget()->size());
    EXPECT_FALSE(mp.set(Disp::ShowControls, QVariant()));
    EXPECT_FALSE(mp.set(Disp::DisplaySize, 7));

    ASSERT_TRUE(mp.set(Disp::ShowDisplay, true));
    EXPECT_TRUE(part(mp, "titlePanel")->isVisible());
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, clip));
    ASSERT_TRUE(waitFor([&] { return picture->size() == QSize(320, 240); }, 3000)) << picture->width();
    EXPECT_EQ(part(mp, "titlePanel")->findChild<QLabel *>()->text(), "clip.mp4") << "the name without a title tag";
    const QRect region(0, 0, 800, 600 - part(mp, "titlePanel")->height());
    struct Size { int mode; QSize expected; } sizes[] = {{1, {160, 120}}, {2, {640, 480}}, {0, {320, 240}}};
    for (const Size &s : sizes) {
        ASSERT_TRUE(mp.set(Disp::DisplaySize, s.mode));
        EXPECT_EQ(picture->size(), s.expected) << s.mode;
        EXPECT_EQ(frame->geometry().center(), region.center()) << "centred " << s.mode;
    }
    // Scaled to the area, aspect kept, with a border of its width all round.
    ASSERT_TRUE(mp.set(Disp::VideoBorderWidth, 6));
    ASSERT_TRUE(mp.set(Disp::VideoBorderColor, 0x0000FF));
    ASSERT_TRUE(mp.set(Disp::DisplaySize, 4));
    EXPECT_EQ(frame->geometry(), QRect(frame->pos(), picture->size() + QSize(12, 12)));
    EXPECT_EQ(picture->pos(), QPoint(6, 6));
    EXPECT_TRUE(region.contains(frame->geometry()));
    EXPECT_TRUE(frame->width() == region.width() || frame->height() == region.height()) << "fills one way";
    EXPECT_NEAR(double(picture->width()) / picture->height(), 4.0 / 3.0, 0.01);
    EXPECT_EQ(frame->grab().toImage().pixelColor(2, 2), QColor(255, 0, 0)) << "0x00BBGGRR";
}
