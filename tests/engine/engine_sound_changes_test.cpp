#include <gtest/gtest.h>

#include <cstdio>

#include "engine/engine_rules.h"
#include "tests/engine/engine_test_support.h"

// Volume, mute and balance moved while a file plays. The sound goes to a file
// paced to real time, so that the changes land in the middle of it as they
// would on a sound card; a gap, a rebuilt output or a lost buffer would show
// as silence or as a file shorter or longer than its source.
namespace {
constexpr double kSeconds = 3.0;
// A full-scale reference is -9.03 dB for the test tone (amplitude 0.5, RMS -3 dB).
constexpr double kTone = -9.03;

MpvOptions pacedToFile(const QString &path)
{
    MpvOptions o = soundToFile(path);
    o.append(qMakePair(QByteArray("af"), QByteArray("lavfi=[arealtime]")));
    return o;
}

// Plays `source` and calls `change(k)` for k = 0..steps-1 at evenly spaced
// moments of its play; returns the rendered blocks.
BlockLevels playWithChanges(const QString &source, double seconds, const QString &out,
                            const std::function<void(MediaEngine &)> &before, int steps,
                            const std::function<void(MediaEngine &, int)> &change, bool atTheOutput = false)
{
    {
        EngineRig rig(pacedToFile(out));
        before(*rig.engine);
        EXPECT_TRUE(rig.engine->set(Disp::FileName, source));
        // Changes spread over the sound by the clock: the filters run in real
        // time from the start, while the file output holds back a second of
        // sound before it reports any position.
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(rig.engine->call(Disp::Play));
        // Output gains act where the sound leaves for the output: once the
        // file output has taken its first second.
        qint64 from = 150;
        if (atTheOutput) {
            EXPECT_TRUE(waitFor([&] { return number(*rig.engine, Disp::CurrentPosition) > 0; }, 4000));
            from = clock.elapsed() + 50;
        }
        for (int k = 0; k < steps; ++k) {
            const qint64 at = from + k * (qint64(seconds * 1000) - 350 - from) / steps;
            waitFor([&] { return clock.elapsed() >= at; }, 4000);
            change(*rig.engine, k);
        }
        EXPECT_TRUE(waitFor([&] { return !rig.ends.isEmpty(); }, 5000));
        EXPECT_EQ(rig.ends.value(0).value(0), QVariant(0));
    }
    return blockLevels(out);
}

// The merged run of states the blocks went through: each block is given the
// state whose levels it matches within 0.5 dB (-1 for none: a block that
// straddles a change). Silence is any level under -90 dB.
std::vector<int> stateRuns(const BlockLevels &b, const std::vector<std::pair<double, double>> &states, int *unmatched)
{
    std::vector<int> runs;
    *unmatched = 0;
    auto near = [](double got, double want) { return want < -90 ? got < -90 : std::abs(got - want) < 0.5; };
    for (size_t i = 0; i < b.left.size(); ++i) {
        int found = -1;
        for (size_t s = 0; s < states.size() && found < 0; ++s)
            if (near(b.left[i], states[s].first) && near(b.right[i], states[s].second))
                found = int(s);
        if (found < 0) {
            ++*unmatched;
            continue;
        }
        if (runs.empty() || runs.back() != found)
            runs.push_back(found);
    }
    return runs;
}

int longestSilence(const BlockLevels &b)
{
    int run = 0, longest = 0;
    for (size_t i = 0; i < b.left.size(); ++i) {
        run = (b.left[i] < -90 && b.right[i] < -90) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}
}  // namespace

TEST(EngineSoundChanges, SettingsHeardFromTheFirstSample)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(writeWav(tone, 1.0, 2));
    ASSERT_EQ(playToEnd(soundToFile(dir.filePath("before.wav")), tone, [](MediaEngine &mp) {
        EXPECT_TRUE(mp.set(Disp::Volume, -2000));
        EXPECT_TRUE(mp.set(Disp::Balance, -10000));
    }), 0);
    const BlockLevels before = blockLevels(dir.filePath("before.wav"));
    ASSERT_FALSE(before.left.empty());
    std::printf("[ sound  ] set before the file, first 10 ms: left %.2f dB right %.2f dB\n", before.left[0] - kTone,
                before.right[0]);
    EXPECT_NEAR(before.left[0], kTone - 20, 0.5);
    EXPECT_LT(before.right[0], -90);

    // Set while the file waits paused: heard from the first sample of play.
    {
        EngineRig rig(pacedToFile(dir.filePath("paused.wav")));
        ASSERT_TRUE(rig.engine->set(Disp::AutoStart, false));
        ASSERT_TRUE(rig.engine->set(Disp::FileName, tone));
        ASSERT_TRUE(waitFor([&] { return number(*rig.engine, Disp::Duration) > 0.9; }, 4000));
        ASSERT_TRUE(rig.engine->set(Disp::Volume, -1000));
        ASSERT_TRUE(rig.engine->set(Disp::Balance, -600));
        ASSERT_TRUE(rig.engine->call(Disp::Play));
        ASSERT_EQ(rig.nextEnd(5000), 0);
    }
    const BlockLevels paused = blockLevels(dir.filePath("paused.wav"));
    ASSERT_FALSE(paused.left.empty());
    std::printf("[ sound  ] set while paused, first 10 ms: left %.2f dB right %.2f dB\n", paused.left[0] - kTone,
                paused.right[0] - kTone);
    EXPECT_NEAR(paused.left[0], kTone - 10, 0.5);
    EXPECT_NEAR(paused.right[0], kTone - 16, 0.5);
}

TEST(EngineSoundChanges, BalanceMovedDuringPlayHasNoGap)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(writeWav(tone, kSeconds, 2));
    std::vector<std::pair<double, double>> states;
    for (int k = 0; k <= 20; ++k) {
        const ChannelGains g = balanceGains(-10000 + 1000 * k);
        auto db = [](double a) { return a <= 0 ? -200.0 : kTone + 20 * std::log10(a); };
        states.push_back({db(g.left), db(g.right)});
    }
    const BlockLevels b = playWithChanges(
        tone, kSeconds, dir.filePath("balance.wav"), [](MediaEngine &mp) { mp.set(Disp::Balance, -10000); }, 20,
        [](MediaEngine &mp, int k) { EXPECT_TRUE(mp.set(Disp::Balance, -10000 + 1000 * (k + 1))); });
    int unmatched = 0;
    const std::vector<int> runs = stateRuns(b, states, &unmatched);
    std::printf("[ sound  ] balance steps: %.3f s, %zu states heard, %d blocks between states, longest silence %d blocks\n",
                b.seconds, runs.size(), unmatched, longestSilence(b));
    EXPECT_NEAR(b.seconds, kSeconds, 0.05);
    EXPECT_TRUE(std::is_sorted(runs.begin(), runs.end()));
    EXPECT_GE(runs.size(), 16u) << "most steps are heard at their own level";
    EXPECT_LE(unmatched, 25);
    // Silent blocks only while a side is off: never both at once.
    EXPECT_EQ(longestSilence(b), 0);
}

TEST(EngineSoundChanges, VolumeAndMuteToggledDuringPlayHaveNoGap)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    // The file output takes the sound in large pieces, each at one gain: the
    // changes come further apart than the pieces.
    const double seconds = 6.0;
    ASSERT_TRUE(writeWav(tone, seconds, 2));
    // Cycles of: down 20 dB, back up, muted, unmuted.
    const std::vector<std::pair<double, double>> states{{kTone, kTone}, {kTone - 20, kTone - 20}, {-200, -200}};
    const BlockLevels b = playWithChanges(tone, seconds, dir.filePath("volume.wav"), [](MediaEngine &) {}, 20,
                                          [](MediaEngine &mp, int k) {
                                              switch (k % 4) {
                                              case 0: EXPECT_TRUE(mp.set(Disp::Volume, -2000)); break;
                                              case 1: EXPECT_TRUE(mp.set(Disp::Volume, 0)); break;
                                              case 2: EXPECT_TRUE(mp.set(Disp::Mute, true)); break;
                                              case 3: EXPECT_TRUE(mp.set(Disp::Mute, false)); break;
                                              }
                                          }, true);
    int unmatched = 0;
    const std::vector<int> runs = stateRuns(b, states, &unmatched);
    std::vector<int> expected{0};
    for (int k = 0; k < 20; ++k)
        expected.push_back(k % 4 == 0 ? 1 : k % 4 == 2 ? 2 : 0);
    std::printf("[ sound  ] volume and mute: %.3f s, %zu states heard, %d blocks between states\n", b.seconds,
                runs.size(), unmatched);
    EXPECT_NEAR(b.seconds, seconds, 0.05);
    // Heard in the order made. On a loaded machine two changes may reach the
    // file output in one piece, so a state may be missing, never misplaced:
    // silence comes only where a mute was asked for.
    size_t next = 0;
    for (int state : runs) {
        while (next < expected.size() && expected[next] != state)
            ++next;
        ASSERT_LT(next, expected.size()) << "a state heard out of order";
        ++next;
    }
    EXPECT_GE(runs.size(), 17u);
    EXPECT_LE(unmatched, 25);
    int silentRuns = 0;
    for (int s : runs)
        silentRuns += s == 2;
    EXPECT_GE(silentRuns, 4);
}
