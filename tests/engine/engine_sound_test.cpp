#include <gtest/gtest.h>

#include <cstdio>

#include "tests/engine/engine_test_support.h"

namespace {
struct Levels
{
    double left = 0, right = 0;
};

// Plays `source` through an engine whose sound goes to a file, with the given
// settings made before the file, and returns the rendered level of each side.
Levels rendered(const QString &source, const QString &out, const std::function<void(MediaEngine &)> &settings)
{
    EXPECT_EQ(playToEnd(soundToFile(out), source, settings), 0);
    // A mono source without balance stays mono: the device feeds both sides.
    const std::vector<double> db = levelsDb(out);
    if (db.empty())
        return {-999, -999};
    return {db.front(), db.back()};
}
}  // namespace

TEST(EngineSound, VolumeAndBalanceMeasuredOnTheRenderedSound)
{
    QTemporaryDir dir;
    const QString stereo = dir.filePath("stereo.wav"), mono = dir.filePath("mono.wav");
    ASSERT_TRUE(writeWav(stereo, 1.0, 2));
    ASSERT_TRUE(writeWav(mono, 1.0, 1));
    const Levels ref = rendered(stereo, dir.filePath("ref.wav"), [](MediaEngine &) {});
    ASSERT_GT(ref.left, -10);

    struct Case { const char *source; int volume, balance; double left, right; };
    const Case cases[] = {
        {"stereo", -1000, 0, -10, -10},
        {"stereo", -2000, 0, -20, -20},
        {"stereo", 0, -600, 0, -6},
        {"stereo", -500, 1500, -20, -5},
        {"stereo", 0, -10000, 0, -200},
        {"mono", 0, 0, 0, 0},      // mono reaches both sides at its own level
        {"mono", 0, 2000, -20, 0},
    };
    double worst = 0;
    int n = 0;
    for (const Case &c : cases) {
        const QString source = QString::fromLatin1(c.source) == "mono" ? mono : stereo;
        const Levels got = rendered(source, dir.filePath(QStringLiteral("out%1.wav").arg(n++)), [&](MediaEngine &mp) {
            EXPECT_TRUE(mp.set(Disp::Volume, c.volume));
            EXPECT_TRUE(mp.set(Disp::Balance, c.balance));
        });
        const double errLeft = got.left - ref.left - c.left, errRight = got.right - ref.right - c.right;
        std::printf("[ sound  ] %s volume %d balance %d: left %+.3f dB right %+.3f dB (errors %+.3f / %+.3f)\n",
                    c.source, c.volume, c.balance, got.left - ref.left, got.right - ref.right, errLeft,
                    c.right < -100 ? 0.0 : errRight);
        EXPECT_NEAR(errLeft, 0, 0.5) << c.source << c.volume << ' ' << c.balance;
        if (c.right < -100) {
            EXPECT_LT(got.right - ref.right, -90) << "silenced side";
        } else {
            EXPECT_NEAR(errRight, 0, 0.5) << c.source << c.volume << ' ' << c.balance;
            worst = std::max({worst, std::abs(errLeft), std::abs(errRight)});
        }
    }
    std::printf("[ sound  ] largest level error %.3f dB\n", worst);

    const Levels muted = rendered(stereo, dir.filePath("muted.wav"), [](MediaEngine &mp) {
        EXPECT_TRUE(mp.set(Disp::Mute, true));
    });
    EXPECT_LT(muted.left - ref.left, -90);
    EXPECT_LT(muted.right - ref.right, -90);
}
