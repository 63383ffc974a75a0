#include <gtest/gtest.h>

#include <cstdio>

#include "engine/mpv_picture.h"
#include "tests/engine/engine_test_support.h"

// Pictures through libmpv's renderer, no sound device: images offscreen,
// OpenGL under Xvfb when SOLVANE_VIDEO=gl. (The picture's colours, sizes and
// place in the real program's window are checked end to end.)
TEST(EnginePicture, SoundMakesNoRendererClipWithoutSoundPlaysToItsEndCloseWaitsForNoFrame)
{
    EngineRig rig({{"vo", "libmpv"}, {"ao", "null"}});
    auto *picture = part<MpvPicture>(*rig.engine, "picture");
    rig.play(tone(0.5));
    EXPECT_EQ(rig.nextEnd(5000), 0);
    EXPECT_FALSE(picture->hasVideo()) << "a sound file made the video renderer";

    // An orange picture with no sound at all: nothing else keeps the file
    // going, so it must have its renderer before libmpv chooses the tracks.
    const QString silent =
        madeOnce("silent.mp4", [](const QString &p) { return makeVideo(p, 1.5, "color=c=0xF08020", false); });
    ASSERT_TRUE(rig.engine->set(Disp::AutoRewind, true));
    QElapsedTimer t;
    t.start();
    rig.play(silent);
    // What the screen shows at the picture's centre, however it is drawn.
    const auto orangeAtCentre = [&] {
        const QPoint at = picture->mapToGlobal(picture->rect().center());
        const QImage shot = picture->screen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
        const QColor c = shot.isNull() ? QColor() : shot.pixelColor(0, 0);
        return c.red() > 200 && c.green() > 100 && c.green() < 160 && c.blue() < 80;
    };
    EXPECT_TRUE(QTest::qWaitFor(orangeAtCentre, 5000)) << "the clip's picture never showed";
    // Painted over transparency, as into a window with alpha: nothing shows through.
    QImage image(picture->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    picture->render(&image);
    EXPECT_EQ(image, image.convertToFormat(QImage::Format_RGB32).convertToFormat(image.format())) << "not opaque";
    const bool openGl = qgetenv("SOLVANE_VIDEO") == "gl" && qgetenv("QT_XCB_GL_INTEGRATION") != "none";
    EXPECT_EQ(picture->findChild<QWidget *>("video") != nullptr, openGl) << "not drawn the way asked";
    EXPECT_EQ(rig.nextEnd(8000), 0);
    EXPECT_GT(t.elapsed(), 1200) << "the clip ended before its picture had played";

    // At its end the file paused and rewound, and the stop rewinds again:
    // each gives libmpv a frame to hand over. Closing must not wait for them
    // (it used to wait 200 ms for a frame nobody took).
    t.start();
    EXPECT_TRUE(rig.engine->call(Disp::Stop));
    rig.host.reset();
    std::printf("[ picture] stop and close took %lld ms\n", static_cast<long long>(t.elapsed()));
    EXPECT_LT(t.elapsed(), 150);
}
