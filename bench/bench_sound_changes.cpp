// How long a change of volume, balance or mute takes to be heard: plays a
// tone through the engine on the default sound server, records that server's
// monitor with parec, and finds each change in the recording.
//
// A change made when the engine's position reads p should be heard at p in
// the recording (counted from its first sound); the difference is the delay
// the output adds. Run it on a desktop with PulseAudio (or PipeWire's pulse
// face), for example:
//   /work/shared/tools/desktop-session -- build/bench/bench_sound_changes
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/bench_wait.h"
#include "engine/mpv_engine.h"

namespace {
constexpr int kRate = 48000;

bool writeTone(const QString &path, double seconds)
{
    const int frames = int(seconds * kRate);
    std::vector<qint16> s;
    for (int i = 0; i < frames; ++i)
        s.insert(s.end(), 2, qint16(std::lround(16383 * std::sin(2 * M_PI * 1000.0 * i / kRate))));
    const quint32 bytes = quint32(s.size() * 2), riff = 36 + bytes, fmt = 16, rate = kRate, byteRate = kRate * 4;
    const quint16 pcm = 1, ch = 2, align = 4, bits = 16;
    QByteArray h("RIFF");
    auto put = [&h](const void *p, int n) { h.append(static_cast<const char *>(p), n); };
    put(&riff, 4);
    h += "WAVEfmt ";
    put(&fmt, 4), put(&pcm, 2), put(&ch, 2), put(&rate, 4), put(&byteRate, 4), put(&align, 2), put(&bits, 2);
    h += "data";
    put(&bytes, 4);
    put(s.data(), int(bytes));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(h) == h.size();
}

struct Block { double left, right; };
}  // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QPA_PLATFORM", qgetenv("DISPLAY").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav"), rec = dir.filePath("rec.raw");
    if (!writeTone(tone, 5.0))
        return 1;

    QProcess parec;
    parec.start("parec", {"-d", "@DEFAULT_MONITOR@", "--raw", "--format=float32le", "--rate=48000", "--channels=2",
                          rec});
    if (!parec.waitForStarted(3000)) {
        std::fprintf(stderr, "parec could not start: a sound server is needed\n");
        return 1;
    }
    QWidget host;
    auto *mp = new MpvEngine(&host);
    mp->set(Disp::FileName, tone);
    mp->call(Disp::Play);
    struct Change { double at; const char *what; std::function<void()> apply; double heardAt = -1; double pos = -1; };
    std::vector<Change> changes{
        {1.0, "volume -2000", [mp] { mp->set(Disp::Volume, -2000); }},
        {2.0, "volume 0", [mp] { mp->set(Disp::Volume, 0); }},
        {3.0, "balance -10000", [mp] { mp->set(Disp::Balance, -10000); }},
        {4.0, "mute", [mp] { mp->set(Disp::Mute, true); }},
    };
    auto position = [mp] { return mp->get(Disp::CurrentPosition).value_or(-1).toDouble(); };
    for (Change &c : changes) {
        wait([&] { return position() >= c.at; }, 10000, 2);
        c.apply();
        c.pos = position();
    }
    bool ended = false;
    QObject::connect(mp, &MediaEngine::EndOfStream, [&] { ended = true; });
    wait([&] { return ended; }, 10000, 2);
    wait([] { return false; }, 500, 2);
    parec.terminate();
    parec.waitForFinished(3000);

    QFile f(rec);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const auto *s = reinterpret_cast<const float *>(all.constData());
    const qsizetype frames = all.size() / 8;
    qsizetype first = 0;
    while (first < frames && std::abs(s[first * 2]) < 1e-4)
        ++first;
    const qsizetype block = kRate / 1000;  // 1 ms
    std::vector<Block> b;
    for (qsizetype at = first; at + block <= frames; at += block) {
        double l = 0, r = 0;
        for (qsizetype i = at; i < at + block; ++i)
            l += double(s[i * 2]) * s[i * 2], r += double(s[i * 2 + 1]) * s[i * 2 + 1];
        b.push_back({10 * std::log10(l / block + 1e-30), 10 * std::log10(r / block + 1e-30)});
    }
    if (b.size() < 100) {
        std::fprintf(stderr, "nothing was recorded\n");
        return 1;
    }
    const double full = b[50].left;
    auto heard = [&](size_t from, const std::function<bool(const Block &)> &is) {
        for (size_t i = from; i < b.size(); ++i)
            if (is(b[i]))
                return i / 1000.0;
        return -1.0;
    };
    const size_t ms = 1;
    changes[0].heardAt = heard(ms * 500, [&](const Block &x) { return x.left < full - 15; });
    changes[1].heardAt = heard(size_t(changes[0].heardAt * 1000) + 1, [&](const Block &x) { return x.left > full - 5; });
    changes[2].heardAt = heard(size_t(changes[1].heardAt * 1000) + 1, [&](const Block &x) { return x.right < full - 60; });
    changes[3].heardAt = heard(size_t(changes[2].heardAt * 1000) + 1, [&](const Block &x) { return x.left < full - 60; });
    // Dropouts: silent milliseconds before the mute.
    int dropouts = 0;
    for (size_t i = 0; i < size_t(std::max(changes[3].heardAt, 0.0) * 1000); ++i)
        dropouts += b[i].left < -90 && b[i].right < -90;
    std::printf("first sound: level %.2f dB; %d silent ms before the mute\n", full, dropouts);
    for (const Change &c : changes)
        std::printf("%-15s set at position %.3f s, heard at %.3f s: %+.0f ms\n", c.what, c.pos, c.heardAt,
                    (c.heardAt - c.pos) * 1000);
    delete mp;
    return 0;
}
