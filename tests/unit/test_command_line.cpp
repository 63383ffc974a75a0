#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/geometry_text.h"
#include "app/time_display.h"

// The fuzzer checks that every path comes out absolute and that the list flag
// follows the first one's extension; these are the cases it cannot judge.
TEST(CommandLine, PathsAreMadeAbsoluteAndListsRecognised)
{
    const QString cwd = "/home/ana/Musique";
    // Only a leading "/" or a web address is absolute; a colon is part of a name.
    EXPECT_EQ(parseCommandLine({"C:\\x", "a:b.mp4", "1:23.mp3", "https://h/r"}, cwd).paths,
              (QStringList{cwd + "/C:\\x", cwd + "/a:b.mp4", cwd + "/1:23.mp3", "https://h/r"}));
    // A file whose name merely starts with a quote is still a file.
    EXPECT_EQ(parseCommandLine({"\"x.mp3\""}, cwd).paths, QStringList{"/home/ana/Musique/\"x.mp3\""});

    // Several files, as a shell expands *.mp3: all in order, the first plays.
    const CommandLine many = parseCommandLine({"b.mp3", "/x/a.mp3", "c.m3u"}, cwd);
    EXPECT_EQ(many.paths, (QStringList{"/home/ana/Musique/b.mp3", "/x/a.mp3", "/home/ana/Musique/c.m3u"}));
}

// Round trips are the fuzzer's; the stored layout is checked here.
TEST(GeometryText, NumbersRoundTripThroughTheirStoredText)
{
    EXPECT_EQ(numberToText(1200), " 1200");
    EXPECT_EQ(numberToText(-315), "-315");
    EXPECT_EQ(numberToText(0.25), " .25");
    EXPECT_EQ(textToNumber("  42"), 42.0);
    EXPECT_FALSE(textToNumber("12px").has_value());
    EXPECT_FALSE(textToNumber("nan").has_value());
}

// The main window test reads the usual case off the real label and knob.
TEST(TimeDisplay, TextAndKnobFollowTheRoundingRules)
{
    EXPECT_EQ(timeText(59.5, 0).left(5), "01:00");
    EXPECT_EQ(timeText(6000, 6000), "100:00 / 100:00");
    EXPECT_EQ(timeText(0, 239.6), "00:00 / 04:00");
    EXPECT_EQ(knobLeft(225, 225), 3950);
    EXPECT_EQ(QList({*knobLeft(300, 225), *knobLeft(-5, 225)}), QList({3950.0, 1320.0})) << "kept on the bar";
}
