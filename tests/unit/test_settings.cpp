#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// Makes every file write past `bytes` fail, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

}  // namespace

TEST(SettingsFile, DefaultsWriteExactlyTheThreeLinesAndReadBack)
{
    const QByteArray expected = " 0  1  1  1  1  1  1  1 \r\n"
                                " 0  1  1  0  0  0  0 \r\n"
                                " 0 -100  0  0 \r\n";
    EXPECT_EQ(formatSettings(Settings::defaults()), expected);
    EXPECT_EQ(parsed(expected), Settings::defaults());

    // Negative values keep their sign in the sign column, with no extra space.
    Settings s = Settings::defaults();
    s.CfgBalance = -9500;
    s.CfgBorderColor = 0x00FF8040;
    s.CfgPlayCount = 3;
    const QByteArray bytes = formatSettings(s);
    EXPECT_TRUE(bytes.endsWith(" 0 -100 -9500  0 \r\n")) << bytes.constData();
    EXPECT_EQ(parsed(bytes), s);
}

TEST(SettingsFile, ReadingRulesFollowTheGroups)
{
    // A ninth number on line 1 shifts every later field by one.
    Settings shifted = parsed(" 0  1  1  1  1  1  1  1  7 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n");
    EXPECT_EQ(shifted.CfgFitToScreen, 7);
    EXPECT_EQ(shifted.CfgAutoRewind, 0);
    EXPECT_EQ(shifted.CfgExitAtEnd, 0);
    EXPECT_EQ(shifted.CfgVolume, 0);
    EXPECT_EQ(shifted.CfgBalance, -100);

    // Two lines only: fields 16 to 19 stay 0, the loudest volume.
    Settings twoLines = parsed(" 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n");
    EXPECT_EQ(twoLines.CfgAutoStart, 1);
    EXPECT_EQ(twoLines.CfgVolume, 0);
    EXPECT_EQ(twoLines.CfgLoopList, 0);

    // A value too large for its field ends its group; the next group starts
    // with the value after it.
    Settings overflow = parsed(" 2  1  99999  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n");
    EXPECT_EQ(overflow.CfgDisplaySize, 2);
    EXPECT_EQ(overflow.CfgShowControls, 1);
    EXPECT_EQ(overflow.CfgShowAudioControls, 0);
    EXPECT_EQ(overflow.CfgShowToolbar, 0);
    EXPECT_EQ(overflow.CfgFitToScreen, 1);  // the fourth number of the file

    // The colour field takes 32 bits; the others do not.
    Settings wide = parsed(" 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  16777215  0 \r\n");
    EXPECT_EQ(wide.CfgBorderColor, 16777215);

    // A word ends its group like any value that is not a number.
    Settings word = parsed(" 0  1  abc  1  1  1  1  1 \r\n 5 ");
    EXPECT_EQ(word.CfgShowControls, 1);
    EXPECT_EQ(word.CfgShowAudioControls, 0);
    EXPECT_EQ(word.CfgFitToScreen, 1);

    // Line ends are only separators; commas separate too.
    EXPECT_EQ(parsed("0,1,1,1,1,1,1,1,0,1,1,0,0,0,0,0,-100,0,0"), Settings::defaults());
}

TEST(SettingsFile, StartupReadsTheFileOrTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Solvane.cfg");

    Settings none;
    readSettingsFile(path, none);
    EXPECT_EQ(none, Settings::defaults());
    EXPECT_FALSE(QFile::exists(path)) << "start-up must not create the file";

    // An empty file: every field 0, no defaults.
    ASSERT_TRUE(writeFile(path));
    Settings empty;
    readSettingsFile(path, empty);
    EXPECT_EQ(empty, Settings());

    // A folder of that name counts as no file.
    QTemporaryDir other;
    QDir(other.path()).mkdir("Solvane.cfg");
    Settings folder;
    readSettingsFile(other.filePath("Solvane.cfg"), folder);
    EXPECT_EQ(folder, Settings::defaults());
}

TEST(SettingsFile, WriterReplacesTheFileWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Solvane.cfg");
    Settings s = Settings::defaults();
    s.CfgVolume = -1500;
    ASSERT_TRUE(writeSettingsFile(path, s));
    EXPECT_EQ(fileBytes(path), formatSettings(s));

    // A full disk while writing (a file size limit stands in for it, and
    // holds even for root) keeps the old content whole.
    const QByteArray before = fileBytes(path);
    s.CfgVolume = 0;
    bool written = true;
    {
        FileSizeLimit limit(10);
        written = writeSettingsFile(path, s);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Solvane.cfg"})
        << "no temporary file left behind";

    // A settings path that is a folder is not replaced either.
    QDir(dir.path()).mkdir("folder.cfg");
    EXPECT_FALSE(writeSettingsFile(dir.filePath("folder.cfg"), s));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.cfg")).isDir());
}

TEST(SettingsFile, LivesBesideTheProgramOnlyWhenItCan)
{
    QTemporaryDir dir;
    EXPECT_EQ(settingsFilePath(dir.path()), dir.path() + "/Solvane.cfg");
    EXPECT_EQ(settingsFilePath("/", true, "/home/u/.config"), "/Solvane.cfg") << "one separator at a root";
    // Installed where the user cannot write: the user's configuration folder.
    EXPECT_EQ(settingsFilePath("/usr/bin", false, "/home/u/.config"), "/home/u/.config/Solvane/Solvane.cfg");
    // A portable install that already holds its file keeps it.
    ASSERT_TRUE(writeFile(dir.filePath("Solvane.cfg")));
    EXPECT_EQ(settingsFilePath(dir.path(), false, "/home/u/.config"), dir.path() + "/Solvane.cfg");
}
