#include <gtest/gtest.h>

#include "app/geometry_fit.h"
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

    // No room anywhere: where it hides the least; a 200 % desktop keeps the
    // main window in view. Nothing to avoid: centred.
    EXPECT_EQ(placeBeside(QRect(100, 100, 1100, 900), video, screen), QPoint(0, 0));
    const QRect scaled(0, 0, 640, 512), windows200(143, 95, 354, 352);
    EXPECT_FALSE(QRect(placeBeside(windows200, video, scaled), video).contains(QRect(143, 95, 354, 103)));
    EXPECT_EQ(placeBeside(QRect(), video, screen), QPoint(394, 302));
}

TEST(GeometryFit, TitleBarStaysWithinReach)
{
    const QRect left(0, 0, 1920, 1050), right(1920, 0, 1280, 1000);
    const QRect window(0, 0, 360, 130);
    const auto at = [&](int x, int y, const QList<QRect> &screens) {
        return reachablePosition(window.translated(x, y), screens);
    };
    // On a screen, or across two, or mostly off one edge with enough of the
    // title bar left: kept.
    EXPECT_EQ(at(100, 200, {left, right}), QPoint(100, 200));
    EXPECT_EQ(at(3150, 10, {left, right}), QPoint(3150, 10));

    // The right monitor is gone: onto the left one, whole.
    EXPECT_EQ(at(2500, 300, {left}), QPoint(1560, 300));
    // Title bar above the top, or below the bottom: moved down, or up.
    EXPECT_EQ(at(100, -20, {left}), QPoint(100, 0));
    EXPECT_EQ(at(100, 1040, {left}), QPoint(100, 920));

    // Sizes (the fuzzer's screens are never this small).
    EXPECT_EQ(dimensionWithin(7000, 2400, 1500), 1500) << "a tiny screen wins over the minimum";
}
