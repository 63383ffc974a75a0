#include <gtest/gtest.h>

#include "playback/window_place.h"

TEST(WindowPlace, BesideTheWindowsItMustNotCover)
{
    const QSize video(491, 420);
    // Room on the right: there, level with the top.
    const QRect wide(0, 0, 1920, 1080);
    const QRect windows(600, 180, 358, 336);
    const QPoint right = placeBeside(windows, video, wide);
    EXPECT_EQ(right, QPoint(966, 180));

    // A 1280 screen with the windows in the middle: neither side has the
    // room, so below; never over them, always on the screen.
    const QRect screen(0, 0, 1280, 1024);
    const QRect middle(463, 170, 358, 336);
    const QRect below(placeBeside(middle, video, screen), video);
    EXPECT_FALSE(below.intersects(middle));
    EXPECT_TRUE(screen.contains(below));
    EXPECT_GT(below.top(), middle.bottom());

    // Windows on the right edge: to the left.
    const QRect left(placeBeside(QRect(1000, 100, 280, 300), video, screen), video);
    EXPECT_LT(left.right(), 1000);
    EXPECT_TRUE(screen.contains(left));

    // No room anywhere, or nothing to avoid: centred as before.
    EXPECT_EQ(placeBeside(QRect(100, 100, 1100, 900), video, screen), QPoint(394, 302));
    EXPECT_EQ(placeBeside(QRect(), video, screen), QPoint(394, 302));
}
