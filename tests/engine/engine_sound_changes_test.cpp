#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "engine/engine_rules.h"
#include "tests/engine/engine_test_support.h"

// Volume, mute and balance, measured on the sound libmpv renders to a file.
// For changes during play the file output is paced to real time, so that the
// changes land in the middle of it as they would on a sound card; a gap, a
// rebuilt output or a lost buffer would show as silence or as a file shorter
// or longer than its source.
namespace {
// The test tone (amplitude 0.5) is -9.03 dB against full scale.
constexpr double kTone = -9.03;
constexpr double kOff = -200;  // a silenced side

// Plays `source` (or what `change(0)` set, when empty) after `change(0)`, and
// calls `change(k)` for k = 1..steps at evenly spaced moments of its
// `seconds`; returns the rendered blocks once `ends` ends have come.
BlockLevels playWithChanges(const QString &source, double seconds, bool paced, int steps,
                            const std::function<void(MediaEngine &, int)> &change, bool atTheOutput = false, int ends = 1)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.wav");
    {
        EngineRig rig(soundToFile(out, paced));
        change(*rig.engine, 0);
        EXPECT_TRUE(source.isEmpty() || rig.engine->set(Disp::FileName, source));
        // Spread by the clock: the filters run in real time from the start,
        // while the file output holds back a second before it reports any position.
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(rig.engine->call(Disp::Play));
        // Output gains act where the sound leaves for the output: once the
        // file output has taken its first second.
        qint64 from = 150;
        if (atTheOutput) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return number(*rig.engine, Disp::CurrentPosition) > 0; }, 4000));
            from = clock.elapsed() + 50;
        }
        for (int k = 1; k <= steps; ++k) {
            const qint64 at = from + (k - 1) * (qint64(seconds * 1000) - 350 - from) / steps;
            EXPECT_TRUE(QTest::qWaitFor([&] { return clock.elapsed() >= at; }, 4000));
            change(*rig.engine, k);
        }
        for (int i = 0; i < ends; ++i)
            EXPECT_EQ(rig.nextEnd(5000), 0);
    }
    return blockLevels(out);
}

}  // namespace

TEST(EngineSoundChanges, SettingsHeardFromTheFirstSample)
{
    const QString mono = madeOnce("mono-1.wav", [](const QString &p) { return writeWav(p, 1.0, 1); });
    // Levels against the tone, of the first 10 ms and of the middle, with the
    // settings made before the file or while it waits paused. A mono file
    // with a balance plays on two sides.
    struct Case { bool paused, mono; int volume, balance; bool mute; double left, right; };
    const Case cases[] = {{false, false, -2000, -10000, false, -20, kOff}, {false, true, 0, 2000, false, -20, 0},
                          {false, false, 0, 0, true, kOff, kOff}, {true, false, -1000, -600, false, -10, -16}};
    for (const Case &c : cases) {
        // Paused, the output is paced as a sound card is: one that takes
        // sound as fast as it decodes is handed a second at the old balance.
        const QString source = c.paused ? QString() : c.mono ? mono : tone(1.0);
        const BlockLevels b = playWithChanges(source, 1.0, c.paused, 0, [&](MediaEngine &mp, int) {
            if (c.paused) {
                EXPECT_TRUE(mp.set(Disp::AutoStart, false));
                EXPECT_TRUE(mp.set(Disp::FileName, tone(1.0)));
                EXPECT_TRUE(QTest::qWaitFor([&] { return number(mp, Disp::Duration) > 0.9; }, 4000));
            }
            EXPECT_TRUE(mp.set(Disp::Volume, c.volume));
            EXPECT_TRUE(mp.set(Disp::Balance, c.balance));
            EXPECT_TRUE(mp.set(Disp::Mute, c.mute));
        });
        ASSERT_GT(b.left.size(), 50u) << c.volume;
        for (size_t i : {size_t(0), b.left.size() / 2})
            for (auto [got, want] : {std::pair{b.left[i], c.left}, {b.right[i], c.right}})
                EXPECT_TRUE(want == kOff ? got < -90 : std::abs(got - kTone - want) < 0.5)
                    << "volume " << c.volume << " balance " << c.balance << ", block " << i << ": " << got - kTone << " dB";
    }
}

// Balance moved in steps from left to right (a filter, acting from the
// start), and cycles of volume down 20 dB, back up, muted, unmuted (gains at
// the output, which takes the sound in large pieces each at one gain: the
// changes come further apart than the pieces).
TEST(EngineSoundChanges, BalanceVolumeAndMuteChangedDuringPlayHaveNoGap)
{
    auto db = [](double a) { return a <= 0 ? kOff : kTone + 20 * std::log10(a); };
    std::vector<std::pair<double, double>> balances;
    std::vector<int> steps, cycles{0};
    for (int k = 0; k <= 20; ++k) {
        const ChannelGains g = balanceGains(-10000 + 1000 * k);
        balances.push_back({db(g.left), db(g.right)});
        steps.push_back(k);
    }
    // Silence on both sides is a state of its own, asked for only by a mute.
    balances.push_back({kOff, kOff});
    for (int k = 1; k <= 20; ++k)
        cycles.push_back(k % 4 == 1 ? 1 : k % 4 == 3 ? 2 : 0);
    struct Run { double seconds; bool atTheOutput; std::function<void(MediaEngine &, int)> change;
                 std::vector<std::pair<double, double>> states; std::vector<int> expected; size_t least; };
    const Run runs[] = {
        {3.0, false, [](MediaEngine &mp, int k) { EXPECT_TRUE(mp.set(Disp::Balance, -10000 + 1000 * k)); }, balances, steps, 12},
        {6.0, true, [](MediaEngine &mp, int k) {
             EXPECT_TRUE((k - 1) % 4 < 2 ? mp.set(Disp::Volume, k % 4 == 1 ? -2000 : 0) : mp.set(Disp::Mute, k % 4 == 3));
         }, {{kTone, kTone}, {kTone - 20, kTone - 20}, {kOff, kOff}}, cycles, 17}};
    for (const Run &r : runs) {
        const BlockLevels b = playWithChanges(tone(r.seconds), r.seconds, true, 20, r.change, r.atTheOutput);
        // The merged run of states the blocks went through: each block is given
        // the state whose levels it matches within 0.5 dB (none for a block
        // that straddles a change). Silence is any level under -90 dB.
        auto near = [](double got, double want) { return want < -90 ? got < -90 : std::abs(got - want) < 0.5; };
        std::vector<int> heard;
        int unmatched = 0;
        for (size_t i = 0; i < b.left.size(); ++i) {
            const auto s = std::find_if(r.states.begin(), r.states.end(),
                                        [&](auto st) { return near(b.left[i], st.first) && near(b.right[i], st.second); });
            if (s == r.states.end())
                ++unmatched;
            else if (heard.empty() || heard.back() != int(s - r.states.begin()))
                heard.push_back(int(s - r.states.begin()));
        }
        std::printf("[ sound  ] of %zu states: %.3f s, %zu heard, %d blocks between states\n", r.states.size(),
                    b.seconds, heard.size(), unmatched);
        EXPECT_NEAR(b.seconds, r.seconds, 0.05);
        // Heard in the order made. On a loaded machine two changes may reach
        // the file output in one piece, so a state may be missing, never
        // misplaced: silence comes only where a mute was asked for.
        auto next = r.expected.begin();
        for (int state : heard) {
            next = std::find(next, r.expected.end(), state);
            ASSERT_NE(next, r.expected.end()) << "a state heard out of order, of " << r.states.size();
            ++next;
        }
        EXPECT_GE(heard.size(), r.least) << "most changes are heard at their own level";
        EXPECT_LE(unmatched, 25);
    }
}

TEST(EngineSoundChanges, TwoFilesOfAListPlayAsOneToneWithTheSettingsOfEach)
{
    const QString second = tone(1.5);
    int ended = 0;
    const BlockLevels b = playWithChanges(tone(1.0), 2.5, true, 0, [&](MediaEngine &mp, int) {
        // As the video window does: the second file is known ahead, and the
        // end of the first applies the settings, sets it (twice) and plays it.
        mp.nextFile = [&] { return ended == 0 ? second : QString(); };
        QObject::connect(&mp, &MediaEngine::EndOfStream, &mp, [&](int) {
            if (++ended == 1 && mp.set(Disp::Volume, -2000) && mp.set(Disp::FileName, second)
                && mp.set(Disp::FileName, second))
                mp.call(Disp::Play);
        });
    }, false, 2);
    // 10 ms blocks: the first file's 100 at the tone, the second's 20 dB lower,
    // none in between (a gap or a click) and none missing.
    int off = 0;
    for (size_t i = 0; i < b.left.size(); ++i)
        off += std::abs(b.left[i] - kTone + (i < 100 ? 0 : 20)) > 0.5;
    std::printf("[ sound  ] two files: %.4f s, %d blocks off their level\n", b.seconds, off);
    EXPECT_NEAR(b.seconds, 2.5, 0.01);
    EXPECT_EQ(off, 0);
}
