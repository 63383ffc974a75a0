#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

#include "app/config_location.h"
#include "app/settings.h"
#include "support/files.h"

namespace {

Settings parsed(const QByteArray &bytes)
{
    Settings s;
    parseSettings(bytes, s);
    return s;
}

}  // namespace

// The defaults' three lines are checked as the real program's dialog writes them (end-to-end).
TEST(SettingsFile, ReadingRulesFollowTheGroups)
{
    // Negative values keep their sign in the sign column, with no extra space.
    Settings s = Settings::defaults();
    s.CfgBalance = -9500;
    EXPECT_TRUE(formatSettings(s).endsWith(" 0 -100 -9500  0 \r\n")) << formatSettings(s).constData();

    // A ninth number on line 1 shifts every later field by one.
    Settings shifted = parsed(" 0  1  1  1  1  1  1  1  7 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n");
    EXPECT_EQ(shifted.CfgFitToScreen, 7);
    EXPECT_EQ(shifted.CfgBalance, -100);

    // Two lines only: fields 16 to 19 stay 0, the loudest volume.
    EXPECT_EQ(parsed(" 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n").CfgVolume, 0);

    // A value too large for its field (or a word) ends its group; the next
    // group starts with the value after it.
    Settings overflow = parsed(" 2  1  99999  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n");
    EXPECT_EQ(overflow.CfgShowControls, 1);
    EXPECT_EQ(overflow.CfgShowAudioControls, 0);
    EXPECT_EQ(overflow.CfgFitToScreen, 1);  // the fourth number of the file
    EXPECT_EQ(parsed(" 0  1  abc  1  1  1  1  1 \r\n 5 ").CfgFitToScreen, 1);

    // The colour field takes 32 bits; the others do not.
    EXPECT_EQ(parsed(" 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  16777215  0 \r\n").CfgBorderColor, 16777215);

    // Line ends are only separators; commas separate too.
    EXPECT_EQ(parsed("0,1,1,1,1,1,1,1,0,1,1,0,0,0,0,0,-100,0,0"), Settings::defaults());
}

TEST(SettingsFile, ReadAtStartAndReplacedWholeOrNotAtAll)
{
    // (No file gives the defaults and is not created: the real program's
    // start-up in the end-to-end tests.) An empty file: every field 0.
    QTemporaryDir dir;
    const QString path = dir.filePath("Solvane.cfg");
    ASSERT_TRUE(writeFile(path));
    Settings empty;
    readSettingsFile(path, empty);
    EXPECT_EQ(empty, Settings());

    Settings s = Settings::defaults();
    ASSERT_TRUE(writeSettingsFile(path, s));

    // A full disk while writing (a file size limit stands in for it, and
    // holds even for root) keeps the old content whole.
    const QByteArray before = fileBytes(path);
    s.CfgVolume = -1500;
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 10;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeSettingsFile(path, s);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Solvane.cfg"})
        << "no temporary file left behind";
}

TEST(SettingsFile, BesideTheProgramUnlessTheUsersOwnIsThere)
{
    QTemporaryDir dir;
    const QString user = dir.filePath("home"), own = user + "/Solvane/Solvane.cfg";
    // Installed where the user cannot write: the user's own file.
    EXPECT_EQ(settingsFilePath("/usr/bin", false, user), own);
    // A file beside the program is read even where it cannot be written...
    ASSERT_TRUE(writeFile(dir.filePath("Solvane.cfg")));
    EXPECT_EQ(settingsFilePath(dir.path(), false, user), dir.path() + "/Solvane.cfg");
    // ...until apply had to write the user's own: that one comes first.
    ASSERT_TRUE(QDir().mkpath(user + "/Solvane") && writeFile(own));
    EXPECT_EQ(settingsFilePath(dir.path(), true, user), own);
}
