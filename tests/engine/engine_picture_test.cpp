#include <gtest/gtest.h>

#include <cstdio>

#include "engine/mpv_picture.h"
#include "tests/engine/engine_test_support.h"

namespace {
// An orange picture: easy to tell from black.
const QString kOrange = QStringLiteral("color=c=0xF08020");

// Pictures through libmpv's renderer, no sound device: images offscreen,
// OpenGL under Xvfb when SOLVANE_VIDEO=gl.
struct PictureRig : EngineRig
{
    PictureRig() : EngineRig({{"vo", "libmpv"}, {"ao", "null"}}) {}
    MpvPicture *picture() { return part<MpvPicture>(*engine, "picture"); }
    // What the screen shows at the picture's centre, however it is drawn.
    bool orangeAtCentre()
    {
        const QPoint at = picture()->mapToGlobal(picture()->rect().center());
        const QImage shot = picture()->screen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
        const QColor c = shot.isNull() ? QColor() : shot.pixelColor(0, 0);
        return c.red() > 200 && c.green() > 100 && c.green() < 160 && c.blue() < 80;
    }
    // Painted over transparency, as into a window with alpha: nothing shows through.
    bool opaque()
    {
        QImage image(picture()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        picture()->render(&image);
        return image == image.convertToFormat(QImage::Format_RGB32).convertToFormat(image.format());
    }
};
}  // namespace

// A picture with no sound at all: nothing else keeps the file going, so it
// must have its renderer before libmpv chooses the tracks.
TEST(EnginePicture, ClipWithoutSoundIsDrawnAndPlaysToItsEnd)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("silent.mp4");
    ASSERT_TRUE(makeVideo(clip, 1.5, kOrange, false));
    PictureRig rig;
    QElapsedTimer t;
    t.start();
    rig.play(clip);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.orangeAtCentre(); }, 5000)) << "the clip's picture never showed";
    EXPECT_TRUE(rig.opaque());
    const bool openGl = qgetenv("SOLVANE_VIDEO") == "gl" && qgetenv("QT_XCB_GL_INTEGRATION") != "none";
    EXPECT_EQ(rig.picture()->findChild<QWidget *>("video") != nullptr, openGl) << "not drawn the way asked";
    EXPECT_EQ(rig.nextEnd(8000), 0);
    EXPECT_GT(t.elapsed(), 1200) << "the clip ended before its picture had played";
}

TEST(EnginePicture, SoundAloneMakesNoRendererAndCloseWaitsForNoFrame)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav"), clip = dir.filePath("orange.mp4");
    ASSERT_TRUE(writeWav(wav, 0.5));
    ASSERT_TRUE(makeVideo(clip, 1.0, kOrange));
    PictureRig rig;
    rig.play(wav);
    EXPECT_EQ(rig.nextEnd(5000), 0);
    EXPECT_FALSE(rig.picture()->hasVideo()) << "a sound file made the video renderer";

    ASSERT_TRUE(rig.engine->set(Disp::AutoRewind, true));
    rig.play(clip);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.picture()->hasVideo() && rig.orangeAtCentre(); }, 5000));
    // At its end the file pauses and rewinds, and the stop rewinds again:
    // each gives libmpv a frame to hand over. Closing must not wait for them
    // (it used to wait 200 ms for a frame nobody took).
    EXPECT_EQ(rig.nextEnd(5000), 0);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(rig.engine->call(Disp::Stop));
    rig.host.reset();
    std::printf("[ picture] stop and close took %lld ms\n", static_cast<long long>(t.elapsed()));
    EXPECT_LT(t.elapsed(), 150);
}
