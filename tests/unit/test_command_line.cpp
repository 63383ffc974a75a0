#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/geometry_text.h"
#include "app/time_display.h"
#include <cmath>
#include <limits>
#include "platform/paths.h"

TEST(CommandLine, PathsAreMadeAbsoluteAndListsRecognised)
{
    const QString cwd = "/home/ana/Musique";
    EXPECT_TRUE(parseCommandLine({}, cwd).isEmpty());

    CommandLine abs = parseCommandLine({"/srv/a b.mp3"}, cwd);
    EXPECT_EQ(abs.paths, QStringList{"/srv/a b.mp3"});
    EXPECT_FALSE(abs.firstIsList);

    EXPECT_EQ(parseCommandLine({"a.mp3"}, cwd).paths, QStringList{"/home/ana/Musique/a.mp3"});
    EXPECT_EQ(parseCommandLine({"../b.mp3"}, "/").paths, QStringList{"/../b.mp3"});
    EXPECT_EQ(parseCommandLine({"C:\\Musique\\a.mp3"}, cwd).paths, QStringList{"C:\\Musique\\a.mp3"});
    // A file whose name merely starts with a quote or a dash is still a file.
    EXPECT_EQ(parseCommandLine({"\"x.mp3\""}, cwd).paths, QStringList{"/home/ana/Musique/\"x.mp3\""});

    for (const char *list : {"soir.m3u", "soir.M3U", "soir.m3u8", "soir.Pls"})
        EXPECT_TRUE(parseCommandLine({list}, cwd).firstIsList) << list;
    for (const char *media : {"soir.mp3", "m3u", "soir.m3u.mp3", "soir.plsx"})
        EXPECT_FALSE(parseCommandLine({media}, cwd).firstIsList) << media;

    // Several files, as a shell expands *.mp3: all in order, the first plays.
    CommandLine many = parseCommandLine({"b.mp3", "/x/a.mp3", "c.m3u"}, cwd);
    EXPECT_EQ(many.paths, (QStringList{"/home/ana/Musique/b.mp3", "/x/a.mp3", "/home/ana/Musique/c.m3u"}));
    EXPECT_FALSE(many.firstIsList);
}

TEST(GeometryText, NumbersRoundTripThroughTheirStoredText)
{
    EXPECT_EQ(numberToText(1200), " 1200");
    EXPECT_EQ(numberToText(0), " 0");
    EXPECT_EQ(numberToText(-315), "-315");
    EXPECT_EQ(numberToText(7365.5), " 7365.5");
    EXPECT_EQ(numberToText(0.25), " .25");
    for (double v : {0.0, 15.0, -4500.0, 7365.5, 123456.0, -0.25, std::numeric_limits<double>::max(),
                     -std::numeric_limits<double>::max()})
        EXPECT_EQ(textToNumber(numberToText(v)), v) << v;

    EXPECT_EQ(textToNumber("  42"), 42.0);
    EXPECT_FALSE(textToNumber("").has_value());
    EXPECT_FALSE(textToNumber("abc").has_value());
    EXPECT_FALSE(textToNumber("12px").has_value());
    EXPECT_FALSE(textToNumber("nan").has_value());
}

TEST(Paths, SeparatorsFolderEndsAndStreams)
{
    EXPECT_EQ(paths::WithBackslash("/opt/solvane"), "/opt/solvane/");
    EXPECT_EQ(paths::WithBackslash("/"), "/");
    EXPECT_EQ(paths::WithBackslash(""), "/");
    EXPECT_TRUE(paths::isAbsolute("/a"));
    EXPECT_TRUE(paths::isAbsolute("D:b.mp3"));
    EXPECT_FALSE(paths::isAbsolute("a/b"));
    EXPECT_TRUE(paths::isWebUrl("HTTPS://radio.example/stream"));
    EXPECT_FALSE(paths::isWebUrl("av://lavfi:sine"));
    EXPECT_FALSE(paths::isWebUrl("/music/http://x.mp3"));
}

TEST(TimeDisplay, TextAndKnobFollowTheRoundingRules)
{
    EXPECT_EQ(timeText(-1, 0), "00:00 / 00:00");
    EXPECT_EQ(timeText(65.4, 225), "01:05 / 03:45");
    EXPECT_EQ(timeText(59.5, 0).left(5), "01:00");
    EXPECT_EQ(timeText(61.5, 0).left(5), "01:02");
    EXPECT_EQ(timeText(6000, 6000), "100:00 / 100:00");
    EXPECT_EQ(timeText(0, 239.6), "00:00 / 04:00");

    EXPECT_FALSE(knobLeft(10, 0).has_value());
    EXPECT_EQ(knobLeft(65.4, 225), 2084);
    EXPECT_EQ(knobLeft(225, 225), 3950);
    EXPECT_EQ(knobLeft(-1, 225), 1320 + std::floor(-1 / 225.0 * 2630));
}
