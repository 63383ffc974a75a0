#include <QCoreApplication>
#include <QFile>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <gtest/gtest.h>

#include "playback/frm_movie.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

namespace {
// Drags local files over `target` and drops them; true when it took them.
bool drop(QWidget *target, const QStringList &files)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &f : files)
        urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}
}  // namespace

TEST(Drop, MainAndVideoWindowsTakeFilesAsThePlaylistDoes)
{
    StartedApp s;
    frmPlayList *list = s.app.playList();

    EXPECT_TRUE(drop(s.app.Solvane(), {s.path("a.mp3"), s.path("b.ogg")}));
    EXPECT_EQ(list->entries(), (QStringList{s.path("a.mp3"), s.path("b.ogg")}));

    // One list file is loaded in place of the playlist and played.
    QFile m3u(s.path("soir.m3u"));
    ASSERT_TRUE(m3u.open(QIODevice::WriteOnly));
    m3u.write("/m/c.mp3\r\n/m/d.mp3\r\n");
    m3u.close();
    EXPECT_TRUE(drop(s.app.movie(), {m3u.fileName()}));
    EXPECT_EQ(list->entries(), (QStringList{"/m/c.mp3", "/m/d.mp3"}));
    EXPECT_EQ(s.engine->values.value(Disp::FileName).toString(), "/m/c.mp3");

    // A video window loaded afresh takes drops too; web links are not files.
    s.app.forms.unload(FormId::frmMovie);
    EXPECT_TRUE(drop(s.app.movie(), {s.path("e.mkv")}));
    EXPECT_EQ(list->ListCount(), 3);
    QMimeData web;
    web.setUrls({QUrl("https://example.org/f.mp3")});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &web, Qt::LeftButton, {});
    QCoreApplication::sendEvent(s.app.Solvane(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}
