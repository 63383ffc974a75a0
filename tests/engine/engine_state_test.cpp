#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

// What the desktop remote and the screen saver read of the engine: its state
// as it changes, the picture's size and jumps in the file.
TEST(EngineState, StateChangesPictureSizeAndJumpsAreTold)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    const QString song = dir.filePath("song.wav");
    ASSERT_TRUE(makeVideo(clip, 3));
    ASSERT_TRUE(writeWav(song, 3));

    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    QSignalSpy states(&mp, &MediaEngine::PlayStateChange);
    QSignalSpy jumps(&mp, &MediaEngine::PositionChange);
    const auto state = [&] { return mp.get(Disp::PlayState).value_or(-1).toInt(); };
    EXPECT_EQ(state(), mpClosed);

    mp.set(Disp::FileName, clip);
    mp.call(Disp::Play);
    ASSERT_TRUE(waitFor([&] { return state() == mpPlaying; }, 10000));
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states.at(0), (QVariantList{mpClosed, mpWaiting}));
    EXPECT_EQ(states.last(), (QVariantList{mpWaiting, mpPlaying}));
    EXPECT_TRUE(waitFor([&] { return mp.get(Disp::ImageSourceWidth).value_or(0).toInt() == 320; }, 5000));
    EXPECT_EQ(mp.get(Disp::ImageSourceHeight).value_or(0).toInt(), 240);

    mp.set(Disp::CurrentPosition, 1.5);
    ASSERT_EQ(jumps.size(), 1);
    EXPECT_DOUBLE_EQ(jumps.at(0).at(1).toDouble(), 1.5);
    mp.call(Disp::Pause);
    EXPECT_EQ(states.last(), (QVariantList{mpPlaying, mpPaused}));
    mp.call(Disp::Stop);
    EXPECT_EQ(states.last(), (QVariantList{mpPaused, mpStopped}));

    // Sound only: no picture.
    mp.set(Disp::FileName, song);
    mp.call(Disp::Play);
    ASSERT_TRUE(waitFor([&] { return state() == mpPlaying; }, 10000));
    EXPECT_EQ(mp.get(Disp::ImageSourceWidth).value_or(-1).toInt(), 0);
    EXPECT_EQ(mp.get(Disp::ClipAuthor).value_or(QVariant("?")).toString(), "");
}
