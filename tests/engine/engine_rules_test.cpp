#include <gtest/gtest.h>

#include "engine/engine_rules.h"

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

TEST(EngineRules, TimeTexts)
{
    EXPECT_EQ(clockText(0), "0:00");
    EXPECT_EQ(clockText(65.9), "1:05");
    EXPECT_EQ(clockText(3725), "1:02:05");
    EXPECT_EQ(clockText(-3), "0:00");
}
