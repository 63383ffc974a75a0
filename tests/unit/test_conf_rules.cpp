#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "dialogs/conf_rules.h"
#include "dialogs/help_path.h"
#include "support/files.h"

// The dialog test types into the real field and applies "3.5" and "99999";
// these are the edges it does not.
TEST(PlayCount, DecimalTextRoundedHalvesToEvenAndTooLargeRefused)
{
    EXPECT_EQ(playCountFromText("2.5"), qint16(2));
    EXPECT_EQ(playCountFromText("1.2.3"), qint16(1));
    EXPECT_EQ(playCountFromText("."), qint16(0));
    EXPECT_EQ(playCountFromText("7fois"), qint16(7));
    EXPECT_EQ(playCountFromText("32767.5"), std::nullopt);
    // Far too many digits for any number type is still too large, not zero.
    EXPECT_EQ(playCountFromText(QString(400, u'9')), std::nullopt);

    // Quit at the end only for a single play; only ASCII digits are typed.
    EXPECT_TRUE(quitAtEndVisible(true, "01"));
    EXPECT_FALSE(quitAtEndVisible(true, "11"));
    EXPECT_FALSE(quitAtEndVisible(false, "1"));
    EXPECT_FALSE(countKeyAccepted(QChar(0x0663)));  // an Arabic-Indic three
}

TEST(HelpPath, OneSeparatorBeforeTheName)
{
    // An installed program keeps it in share/solvane; beside the program wins.
    QTemporaryDir root;
    const QString bin = root.filePath("bin"), share = root.filePath("share/solvane");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    ASSERT_TRUE(writeFile(share + "/Solvane.hlp"));
    EXPECT_EQ(helpFilePath(bin + "/"), share + "/Solvane.hlp");
    ASSERT_TRUE(writeFile(bin + "/Solvane.hlp"));
    EXPECT_EQ(helpFilePath(bin), bin + "/Solvane.hlp");
}
