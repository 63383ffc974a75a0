#include <gtest/gtest.h>

#include "playback/frm_movie.h"
#include "playlist/frm_playlist.h"
#include "support/drop.h"
#include "support/files.h"
#include "support/started_app.h"

TEST(Drop, MainAndVideoWindowsTakeFilesAsThePlaylistDoes)
{
    StartedApp s;
    frmPlayList *list = s.app.playList();

    EXPECT_TRUE(dragAndDrop(s.app.Solvane(), {s.path("a.mp3"), s.path("b.ogg")}));
    EXPECT_EQ(list->entries(), (QStringList{s.path("a.mp3"), s.path("b.ogg")}));

    // One list file is loaded in place of the playlist and played.
    ASSERT_TRUE(writeFile(s.path("soir.m3u"), "/m/c.mp3\r\n/m/d.mp3\r\n"));
    EXPECT_TRUE(dragAndDrop(s.app.movie(), {s.path("soir.m3u")}));
    EXPECT_EQ(list->entries(), (QStringList{"/m/c.mp3", "/m/d.mp3"}));
    EXPECT_EQ(s.engine->values.value(Disp::FileName).toString(), "/m/c.mp3");

    // A video window loaded afresh takes drops too; web links are not files.
    s.app.forms.unload(FormId::frmMovie);
    EXPECT_TRUE(dragAndDrop(s.app.movie(), {s.path("e.mkv")}));
    EXPECT_EQ(list->ListCount(), 3);
    EXPECT_FALSE(dragAndDropUrls(s.app.Solvane(), {QUrl("https://example.org/f.mp3")}));
}
