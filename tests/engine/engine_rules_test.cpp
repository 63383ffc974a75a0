#include <gtest/gtest.h>

#include <cmath>

#include "playback/engine_rules.h"

TEST(EngineRules, OnlyHttpUrlsReachLibmpvAsUrls)
{
    EXPECT_EQ(mpvTarget("http://host/a.mp3", "/music"), "http://host/a.mp3");
    EXPECT_EQ(mpvTarget("HTTPS://host/a.mp3", "/music"), "HTTPS://host/a.mp3");
    // Protocols, options and relative names all become paths under the folder.
    EXPECT_EQ(mpvTarget("av://lavfi:sine", "/music"), "/music/av://lavfi:sine");
    EXPECT_EQ(mpvTarget("memory://abc", "/music/"), "/music/memory://abc");
    EXPECT_EQ(mpvTarget("--foo.wav", "/music"), "/music/--foo.wav");
    EXPECT_EQ(mpvTarget("file:///etc/x.wav", "/music"), "/music/file:///etc/x.wav");
    EXPECT_EQ(mpvTarget("/abs/song.mp3", "/music"), "/abs/song.mp3");
}

TEST(EngineRules, VolumeAndBalanceFollowTheDecibels)
{
    // libmpv's amplitude is (volume/100)^3; it must equal 10^(v/2000).
    for (int v : {0, -1, -500, -2000, -10000})
        EXPECT_NEAR(std::pow(mpvVolume(v) / 100.0, 3), std::pow(10.0, v / 2000.0), 1e-9) << v;
    EXPECT_DOUBLE_EQ(mpvVolume(300), 100.0);  // nothing louder than the loudest

    EXPECT_NEAR(balanceGains(-2000).right, 0.1, 1e-12);
    EXPECT_DOUBLE_EQ(balanceGains(-2000).left, 1.0);
    EXPECT_NEAR(balanceGains(600).left, std::pow(10.0, -0.3), 1e-12);
    EXPECT_DOUBLE_EQ(balanceGains(600).right, 1.0);
    EXPECT_DOUBLE_EQ(balanceGains(-10000).right, 0.0);
    EXPECT_DOUBLE_EQ(balanceGains(12000).left, 0.0);

    EXPECT_TRUE(balanceFilter(0).isEmpty());
    EXPECT_TRUE(balanceFilter(-2000).contains("exprs=1.00000000*val(0)|0.10000000*val(")) << balanceFilter(-2000).toStdString();
}

TEST(EngineRules, TimesAndPictureRectangles)
{
    EXPECT_EQ(timeText(0), "0:00");
    EXPECT_EQ(timeText(65.9), "1:05");
    EXPECT_EQ(timeText(3725), "1:02:05");
    EXPECT_EQ(timeText(-3), "0:00");

    const QRect region(0, 0, 800, 600);
    const QSize video(320, 240);
    EXPECT_EQ(pictureRect(0, video, region, 0), QRect(240, 180, 320, 240));
    EXPECT_EQ(pictureRect(1, video, region, 0), QRect(320, 240, 160, 120));
    EXPECT_EQ(pictureRect(2, video, region, 0), QRect(80, 60, 640, 480));
    // Scaled to the area with the aspect kept, leaving room for the border.
    EXPECT_EQ(pictureRect(4, video, region, 10), QRect(13, 10, 773, 580));
    EXPECT_EQ(pictureRect(4, QSize(), region, 10), region);
}
