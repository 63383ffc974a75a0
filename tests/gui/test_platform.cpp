#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/common_dialog.h"
#include "playlist/frm_playlist.h"
#include "support/files.h"
#include "support/started_app.h"

namespace {

// Plays the user in front of the real (non-native) file dialog once it is
// up: notes its title, its filters and the one it preselected, picks filter
// `row` (0-based) from the list with the keyboard, then types `file` and
// presses Enter, or presses Escape when `file` is empty.
struct UserAtFileDialog
{
    int preselected = -1;
    QStringList filters;
    QString title;

    void answerNext(int row, const QString &file)
    {
        QTimer::singleShot(0, [this, row, file] {
            QFileDialog *dialog = nullptr;
            ASSERT_TRUE(QTest::qWaitFor([&] {
                dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                return dialog && dialog->isVisible();
            }, 5000)) << "no file dialog came up";
            title = dialog->windowTitle();
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(combo && edit);
            filters.clear();
            for (int i = 0; i < combo->count(); ++i)
                filters << combo->itemText(i);
            preselected = combo->currentIndex();
            while (combo->currentIndex() != row)
                QTest::keyClick(combo, combo->currentIndex() < row ? Qt::Key_Down : Qt::Key_Up);
            if (file.isEmpty())
                return QTest::keyClick(dialog, Qt::Key_Escape);
            edit->setText(file);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }
};

}  // namespace

// The open dialog remembers the filter chosen with OK, and only with OK; the
// playlist's save and open dialogs save a list and load it again, and always
// start on their first filter.
TEST(CommonDialogReal, OpenAndListDialogsAsTheUserMeetsThem)
{
    StartedApp s;
    FrmSolvane *main = s.app.Solvane();
    frmPlayList *list = s.app.playList();
    ASSERT_TRUE(writeFile(s.path("clip.WAV")));
    UserAtFileDialog user;

    user.answerNext(2, s.path("clip.WAV"));
    main->imgOpen_Click();
    EXPECT_EQ(user.title, "Ouvrir un fichier multimédia");
    EXPECT_EQ(user.preselected, 0);
    ASSERT_EQ(user.filters.size(), 8);
    EXPECT_EQ(main->CommonDialog1.FilterIndex, 3);
    EXPECT_EQ(list->entries(), QStringList{s.path("clip.WAV")});

    // Filter 3 comes back; another filter then Cancel changes nothing.
    user.answerNext(6, "");
    main->imgOpen_Click();
    EXPECT_EQ(user.preselected, 2);
    user.answerNext(0, "");
    main->imgOpen_Click();
    EXPECT_EQ(user.preselected, 2);
    EXPECT_EQ(list->ListCount(), 1);

    list->Clear();
    list->AddItems({"/m/a.mp3", "/m/b.ogg"});
    user.answerNext(0, s.path("soir.m3u"));
    list->Image1_Click();
    EXPECT_EQ(user.title, "Enregistrer la liste sous");
    EXPECT_EQ(user.filters, QStringList{"Liste de pistes MP3  (*.M3U)"});
    EXPECT_EQ(fileBytes(s.path("soir.m3u")), "/m/a.mp3\r\n/m/b.ogg\r\n");

    list->Clear();
    user.answerNext(1, s.path("soir.m3u"));
    list->ImgOuvrir_Click();
    EXPECT_EQ(user.filters, (QStringList{"Liste de piste MP3(*.M3U)", "Liste PLS (*.PLS)"}));
    EXPECT_EQ(list->entries(), (QStringList{"/m/a.mp3", "/m/b.ogg"}));
    user.answerNext(0, "");
    list->ImgOuvrir_Click();
    EXPECT_EQ(user.preselected, 0) << "the list dialogs always start on filter 1";
    // Patterns written in capitals match names in any case.
    EXPECT_EQ(CommonDialog::qtNameFilters("Listes|*.M3u"), QStringList{"Listes (*.[mM]3[uU])"});
}
