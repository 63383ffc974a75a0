#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "platform/common_dialog.h"

TEST(CommonDialogFilter, LabelsKeptAndPatternsIgnoreCase)
{
    const QStringList filters =
        CommonDialog::qtNameFilters("Liste de piste MP3(*.M3U)|*.M3U|Liste PLS (*.PLS)|*.PLS;*.x1");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], "Liste de piste MP3(*.M3U) (*.[mM]3[uU])");
    EXPECT_EQ(filters[1], "Liste PLS (*.PLS) (*.[pP][lL][sS] *.[xX]1)");
}

TEST(CommonDialogWindow, TheFileListShowsEveryColumnWhole)
{
    QTemporaryDir dir;
    for (const char *name : {"un morceau.mp3", "une vidéo.mp4", "liste.m3u"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CommonDialog dlg;
    dlg.prepare("Ouvrir un fichier multimédia", "Tous les fichiers (*.*)|*.*", CommonDialog::HideReadOnly, 1);
    dlg.InitDir = dir.path();
    bool checked = false;
    // The real dialog: looked at once its list is filled, then cancelled.
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *list = dialog->findChild<QTreeView *>("treeView");
        ASSERT_TRUE(list);
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 3; }, 5000));
        QTest::qWait(50);
        QHeaderView *header = list->header();
        for (int column = 1; column < header->count(); ++column) {
            EXPECT_GE(header->sectionSize(column), static_cast<QAbstractItemView *>(list)->sizeHintForColumn(column)) << column;
            EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column), header->viewport()->width())
                << column;
        }
        EXPECT_GE(header->sectionSize(0), static_cast<QAbstractItemView *>(list)->sizeHintForColumn(0)) << "the names too";
        checked = true;
        dialog->reject();
    });
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_TRUE(checked);
}
