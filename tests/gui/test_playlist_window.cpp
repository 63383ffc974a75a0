#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/image_control.h"
#include "playback/frm_movie.h"
#include "playlist/frm_playlist.h"
#include "support/drop.h"
#include "support/files.h"
#include "support/started_app.h"

namespace {

struct PlaylistWindow : StartedApp
{
    PlaylistWindow() : list(app.playList()) {}
    ~PlaylistWindow() { CommonDialog::setResponder({}); }

    QString writeList(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(writeFile(path(name), bytes));
        return path(name);
    }
    QStringList played() const { return engine->entries("set 1026"); }
    bool canMove() const { return list->ImgUP->isEnabled() && list->ImgDW->isEnabled(); }
    // The text of the note the window last showed the user ("" for none).
    QString told() const
    {
        std::unique_ptr<QMessageBox> box(list->findChild<QMessageBox *>());
        return box && box->isVisible() ? box->text() : QString();
    }

    frmPlayList *list;
};

}  // namespace

TEST(PlaylistWindow, MovesDeletesDropsDockingAndTheListDialogs)
{
    PlaylistWindow w;
    frmPlayList *l = w.list;
    l->AddItems({"A", "B", "C"});
    // No selection: nothing moves or goes.
    for (auto click : {&frmPlayList::ImgUP_Click, &frmPlayList::ImgDW_Click, &frmPlayList::ImgDEL_Click})
        (l->*click)();
    EXPECT_EQ(l->entries(), (QStringList{"A", "B", "C"}));

    l->setListIndex(0);
    l->ImgUP_Click();
    l->ImgDW_Click();
    EXPECT_EQ(l->entries(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(l->ListIndex(), 1);
    l->ImgDW_Click();
    l->ImgDW_Click();
    EXPECT_EQ(l->entries(), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(l->ListIndex(), 2);

    l->ImgDEL_Click();  // the last: the new last is selected
    EXPECT_EQ(l->ListIndex(), 1);
    // The Delete key deletes too.
    QTest::keyClick(l->LstPlay, Qt::Key_Delete);
    l->ImgDEL_Click();
    EXPECT_EQ(l->ListIndex(), -1);
    EXPECT_FALSE(w.canMove());
    EXPECT_TRUE(l->ImgDEL->isEnabled());


    // Among other files a list is left out (alone, it is loaded: the same
    // drop rule serves every window).
    // A name with a line break never enters: a saved list would name other files.
    dragAndDrop(l, {w.path("a.mp3"), w.path("b.m3u"), w.path("x\ny.mp3"), w.path("c.ogg")});
    EXPECT_EQ(l->entries(), (QStringList{w.path("a.mp3"), w.path("c.ogg")}));
    EXPECT_TRUE(w.told().startsWith("1 fichier n'a pas été ajouté à la liste : son nom contient un saut de ligne"));
    EXPECT_TRUE(w.played().isEmpty());
    EXPECT_TRUE(w.canMove()) << "new entries bring the buttons back";

    // Docked under the main window (the real program's, end to end), exactly
    // as wide; a part of the main window, not a window of its own.
    FrmSolvane *main = w.app.Solvane();
    main->redock();
    l->show();
    EXPECT_EQ(l->width(), main->frameGeometry().width());
    EXPECT_EQ(l->windowFlags() & (Qt::WindowType_Mask | Qt::FramelessWindowHint), Qt::Tool | Qt::FramelessWindowHint);

    // The list dialogs: open loads a list and plays its first entry.
    QList<CommonDialog> seen;
    QString answer;
    CommonDialog::setResponder([&](CommonDialog &d, CommonDialog::Kind) {
        seen << d;
        d.FileName = answer;
        return !answer.isEmpty();
    });
    const QString m3u =
        w.writeList("soir.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\na.mp3\r\n\r\n" + QByteArray("/m/b\0x.ogg\r\n", 12) + "/m/b.ogg\r\n");

    // The save dialog starts without a name, even after a save; cancelled, it writes nothing.
    answer = w.path("out.m3u");
    l->Image1_Click();
    ASSERT_TRUE(QFile::remove(answer));
    answer = "";
    l->Image1_Click();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[1].FileName, "");
    EXPECT_FALSE(QFile::exists(w.path("out.m3u")));
    // A save that fails says so.
    answer = w.path("absent/out.m3u");
    l->Image1_Click();
    EXPECT_EQ(w.told(), "La liste n'a pas pu être enregistrée :\n" + answer);

    // A file of another kind leaves the list alone.
    answer = w.writeList("notes.txt", "/m/x.mp3\r\n");
    l->ImgOuvrir_Click();
    EXPECT_EQ(l->entries(), (QStringList{w.path("a.mp3"), w.path("c.ogg")}));

    // What a load does to the windows is checked with a list on the command line.
    l->setListIndex(1);
    answer = m3u;
    l->ImgOuvrir_Click();
    EXPECT_EQ(seen.last().FileName, w.path("notes.txt")) << "the open dialog keeps the name";
    EXPECT_EQ(l->entries(), (QStringList{w.path("a.mp3"), "/m/b.ogg"}));
    EXPECT_TRUE(w.told().startsWith("1 fichier n'a pas été ajouté")) << "the line with a NUL byte";
    EXPECT_EQ(w.played(), QStringList{"set 1026 " + w.path("a.mp3")});

    // A list without entries empties the playlist and plays nothing.
    answer = w.writeList("vide.pls", "[playlist]\r\nNumberOfEntries=0\r\n");
    l->ImgOuvrir_Click();
    EXPECT_EQ(l->ListCount(), 0);
    EXPECT_FALSE(w.canMove());
    EXPECT_EQ(w.played().size(), 1);
}

TEST(PlaylistWindow, PlaysOnDemandClosingOnlyHidesTheListGoesOnAndLoadsRunWholeInOrder)
{
    PlaylistWindow w;
    frmPlayList *l = w.list;
    l->loadList(w.writeList("deux.m3u", "/m/a.mp3\r\n/m/b.mp3\r\n"));
    ASSERT_EQ(w.played(), QStringList{"set 1026 /m/a.mp3"});
    l->show();
    // A double click or Enter plays the entry.
    QListWidget *box = l->LstPlay;
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(1)).center());
    EXPECT_EQ(w.played().last(), "set 1026 /m/b.mp3");

    l->setListIndex(0);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(w.played().size(), 3);

    // The skin's close zone (the window manager's close is the real program's, end to end).
    l->imgExit_Click();
    EXPECT_FALSE(l->isVisible());
    EXPECT_EQ(w.app.forms.loaded(FormId::frmPlayList), l);

    // The list goes on with its second entry.
    w.app.movie()->Mp_EndOfStream(0);
    EXPECT_EQ(w.played().last(), "set 1026 /m/b.mp3");
    QCoreApplication::processEvents();
    EXPECT_EQ(w.app.forms.loaded(FormId::frmPlayList), l) << "not destroyed later either";

    // Looping an emptied list: the engine gets the empty name, both windows hide.
    l->Clear();
    l->show();
    w.app.settings.CfgLoopList = w.app.settings.CfgPlayCount = 1;
    w.app.movie()->Mp_EndOfStream(0);
    EXPECT_EQ(w.engine->log.last(), "set 1026 ");
    EXPECT_FALSE(l->isVisible() || w.app.Solvane()->isVisible());

    // Requests queued before a load, or made during it, run after it: none of
    // them sees a half-built list, and the last list asked for is the one kept.
    w.engine->log.clear();
    const QString first = w.writeList("un.m3u", "/m/1a.mp3\n/m/1b.mp3\n");
    const QString second = w.writeList("deux.m3u", "/m/2a.mp3\n/m/2b.mp3\n/m/2c.mp3\n");

    QMetaObject::invokeMethod(l, [&] { l->loadList(second); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(l, [&] { l->LstPlay_DblClick(); }, Qt::QueuedConnection);
    l->loadList(first);
    EXPECT_EQ(l->entries(), (QStringList{"/m/1a.mp3", "/m/1b.mp3"}));
    EXPECT_EQ(w.played(), QStringList{"set 1026 /m/1a.mp3"}) << "a queued request ran inside the load";

    QCoreApplication::processEvents();
    EXPECT_EQ(l->entries(), (QStringList{"/m/2a.mp3", "/m/2b.mp3", "/m/2c.mp3"}));
    EXPECT_EQ(w.played(), (QStringList{"set 1026 /m/1a.mp3", "set 1026 /m/2a.mp3", "set 1026 /m/2a.mp3"}));

    // A load asked for while one runs (here as the first entry starts)
    // waits for it.
    bool asked = false;
    QObject::connect(w.app.movie(), &QWidget::windowTitleChanged, l, [&] {
        if (!std::exchange(asked, true))
            l->loadList(second);
    });
    l->loadList(first);
    EXPECT_EQ(l->entries(), (QStringList{"/m/1a.mp3", "/m/1b.mp3"}));
    EXPECT_EQ(l->ListIndex(), 0);
    EXPECT_TRUE(QTest::qWaitFor([l] { return l->ListCount() == 3; }, 5000));
    EXPECT_EQ(w.played().last(), "set 1026 /m/2a.mp3");
}
