#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

#include "dialogs/frm_apropos.h"
#include "dialogs/frm_conf.h"
#include "dialogs/help.h"
#include "dialogs/help_window.h"
#include "playback/frm_movie.h"
#include "support/files.h"
#include "support/started_app.h"

namespace {
QAction *menuItem(FrmSolvane *main, const QString &caption)
{
    for (QAction *a : main->Mnu_Fichier->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}
}  // namespace

// The round icon and the box's help button are the real program's, end to end.
TEST(AboutBoxAndHelp, OpenFromTheirPlacesAndTheirButtonsLinksAndKeysWork)
{
    StartedApp s;
    FrmSolvane *main = s.app.Solvane();
    main->ImgInfo_Click();
    auto *about = static_cast<FrmApropos *>(s.app.forms.loaded(FormId::FrmApropos));
    ASSERT_TRUE(about);
    EXPECT_FALSE(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // From the menu and the toolbar: the same box comes up again.
    menuItem(main, "A Propos")->trigger();
    s.app.movie()->Toolbar1_ButtonClick(19);
    EXPECT_EQ(s.app.forms.loaded(FormId::FrmApropos), about);
    EXPECT_FALSE(s.app.movie()->isVisible());

    // Escape closes the box.
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([about] { return about->isActiveWindow(); }));
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(s.app.forms.loaded(FormId::FrmApropos));

    // The configuration menu item shows the hidden main window first.
    main->hide();
    menuItem(main, "Configuration")->trigger();
    EXPECT_TRUE(main->isVisible() && s.app.forms.loaded(FormId::FrmConf));

    // Help opens at its contents from the menu and the toolbar, its links working
    // from the keyboard.
    ASSERT_TRUE(QFile::copy(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../resources/help/Solvane.hlp"), s.path("Solvane.hlp")));
    main->hide();
    menuItem(main, "Aide")->trigger();
    HelpWindow *help = helpWindow(s.app);
    ASSERT_TRUE(help);
    QTextBrowser *b = help->browser();
    EXPECT_EQ(b->documentTitle(), "Aide de Solvane");
    EXPECT_FALSE(s.app.movie()->isVisible() || main->isVisible());

    EXPECT_TRUE(b->toPlainText().contains("F11")) << "the keys are listed";

    // A section reached from the keyboard, left with "Précédent", comes back
    // with "Suivant".
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isActiveWindow(); }));
    b->setFocus();
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(b, Qt::Key_Tab);
    QTest::keyClick(b, Qt::Key_Return);
    const int section = b->verticalScrollBar()->value();
    EXPECT_GT(section, 0) << "the link leads to its section";
    help->backButton()->click();
    help->forwardButton()->click();
    EXPECT_EQ(b->verticalScrollBar()->value(), section);

    // The toolbar opens the same window at its contents again.
    s.app.movie()->Toolbar1_ButtonClick(20);
    EXPECT_EQ(helpWindow(s.app), help);
    EXPECT_TRUE(b->source().fragment().isEmpty());
    EXPECT_FALSE(help->backButton()->isEnabled());

    // Escape closes it. A help file that went away is reported, with where
    // it was looked for, not shown stale.
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    QFile::remove(s.path("Solvane.hlp"));
    showHelp(s.app);
    EXPECT_TRUE(b->toPlainText().contains("Le fichier d'aide est introuvable") && b->toPlainText().contains(s.path("Solvane.hlp")));

    // Only a text file of bounded size is read, and one back again is shown:
    // not 2 MB, not random bytes. (Only a regular file is opened: the
    // readers' own test.)
    const QString file = s.path("Solvane.hlp");
    for (const QByteArray &bytes : {QByteArray(2 << 20, 'a'), QByteArray("<p>\xff\0</p>", 9), QByteArray("<p>Bonjour</p>")}) {
        ASSERT_TRUE(writeFile(file, bytes));
        showHelp(s.app);
        ASSERT_EQ(b->toPlainText().contains("introuvable"), !bytes.contains("Bonjour"));
    }
    // Nothing the document names is read, and a link to another file leads nowhere.
    EXPECT_FALSE(b->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile("/dev/zero")).isValid());
    const QUrl page = b->source();
    b->setSource(QUrl::fromLocalFile(file + "-autre"));
    EXPECT_EQ(b->source(), page);
}
