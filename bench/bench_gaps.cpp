// The silence heard where one entry of a list gives way to the next, for the
// engine driven as the video window drives it and for the mpv command-line
// player on the same files, in alternating runs. Each run is recorded from
// the sound server's monitor with parec; the gap is the longest silence
// between the first sound and the last. Run it on a desktop with PulseAudio:
//   /work/shared/tools/desktop-session -- build/bench/bench_gaps [runs [kind]]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/bench_wait.h"
#include "engine/mpv_engine.h"

namespace {
constexpr int kRate = 48000;

bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

bool tone(const QString &path, int rate, double seconds)
{
    return ffmpeg({"-f", "lavfi", "-i",
                   QStringLiteral("aevalsrc=0.5*sin(2*PI*1000*t):s=%1:d=%2:c=stereo").arg(rate).arg(seconds), "-c:a",
                   "pcm_s16le", path});
}

bool video(const QString &path, double seconds)
{
    const QString d = QString::number(seconds);
    return ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=" + d, "-f", "lavfi", "-i",
                   "sine=frequency=1000:sample_rate=48000:duration=" + d, "-c:a", "aac", "-shortest", "-c:v",
                   "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", path});
}

// Longest run of silence (both sides under -50 dB) between the first and the
// last sound of a raw s16 stereo recording, and the span of sound, in ms.
struct Heard { double gapMs = -1, spanMs = 0; };
Heard analyse(const QString &raw)
{
    QFile f(raw);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const auto *s = reinterpret_cast<const qint16 *>(all.constData());
    const qsizetype frames = all.size() / 4;
    auto loud = [&](qsizetype i) { return std::abs(s[2 * i]) > 100 || std::abs(s[2 * i + 1]) > 100; };
    qsizetype first = 0, last = frames - 1;
    while (first < frames && !loud(first))
        ++first;
    while (last > first && !loud(last))
        --last;
    Heard h;
    if (first >= last)
        return h;
    qsizetype run = 0, longest = 0;
    for (qsizetype i = first; i <= last; ++i) {
        run = loud(i) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    // A sine passes zero between two samples: one quiet sample is no gap.
    h.gapMs = longest > 1 ? longest * 1000.0 / kRate : 0.0;
    h.spanMs = (last - first + 1) * 1000.0 / kRate;
    return h;
}

struct Recorder
{
    QProcess parec;
    QString raw;
    explicit Recorder(const QString &path) : raw(path)
    {
        parec.setStandardOutputFile(raw);
        parec.start("parec", {"-d", "@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--rate=48000", "--channels=2",
                              "--latency-msec=10"});
        parec.waitForStarted();
        QProcess::execute("sleep", {"0.3"});
    }
    Heard stop()
    {
        parec.terminate();
        parec.waitForFinished(3000);
        return analyse(raw);
    }
};

// The engine as the video window drives it: the next entry known ahead, and
// the end of the first one setting it twice and playing it.
Heard solvane(const QString &a, const QString &b, const QString &raw)
{
    Recorder rec(raw);
    {
        QWidget host;
        auto *mp = new MpvEngine(&host, qEnvironmentVariableIsSet("XOPT") ? MpvOptions{{qgetenv("XOPT"), qgetenv("XVAL")}} : MpvOptions{});
        host.resize(640, 480);
        mp->widget()->setGeometry(0, 0, 640, 480);
        host.show();
        int ends = 0;
        mp->nextFile = [&] { return ends == 0 ? b : QString(); };
        QObject::connect(mp, &MediaEngine::EndOfStream, mp, [&](int) {
            if (++ends == 1 && mp->set(Disp::FileName, b) && mp->set(Disp::FileName, b))
                mp->call(Disp::Play);
        });
        mp->set(Disp::PlayCount, 1);
        mp->set(Disp::FileName, a);
        mp->call(Disp::Play);
        wait([&] { return ends >= 2; }, 20000, 5);
    }
    return rec.stop();
}

Heard mpv(const QString &a, const QString &b, const QString &raw)
{
    Recorder rec(raw);
    QProcess::execute("mpv", {"--no-config", "--really-quiet", "--ao=pulse", "--force-window=no", a, b});
    return rec.stop();
}

QString stats(std::vector<double> v)
{
    if (v.empty())
        return "-";
    std::sort(v.begin(), v.end());
    return QStringLiteral("%1 [%2–%3]").arg(v[v.size() / 2], 0, 'f', 1).arg(v.front(), 0, 'f', 1).arg(v.back(), 0, 'f', 1);
}
}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    auto file = [&](const char *name) { return dir.filePath(name); };
    if (!tone(file("a.wav"), 48000, 1.0) || !tone(file("b.wav"), 48000, 1.0) || !tone(file("c.wav"), 44100, 1.0)
        || !video(file("v1.mp4"), 1.5) || !video(file("v2.mp4"), 1.5)) {
        std::fprintf(stderr, "could not make the media (ffmpeg)\n");
        return 1;
    }
    struct Case { const char *name; QString a, b; double ms; };
    const Case cases[] = {{"audio->audio, same format", file("a.wav"), file("b.wav"), 2000},
                          {"audio->audio, 48 -> 44.1 kHz", file("a.wav"), file("c.wav"), 2000},
                          {"video->video", file("v1.mp4"), file("v2.mp4"), 3000},
                          {"video->audio", file("v1.mp4"), file("a.wav"), 2500}};
    std::printf("| change | Solvane gap ms | mpv gap ms | Solvane span-sum ms | mpv span-sum ms |\n|---|---|---|---|---|\n");
    // A second argument picks one kind of change by its number (0-3).
    const int only = argc > 2 ? std::atoi(argv[2]) : -1;
    for (const Case &c : cases) {
        if (only >= 0 && &c != &cases[only])
            continue;
        std::vector<double> gap[2], span[2];
        for (int r = 0; r < runs; ++r) {
            for (int p = 0; p < 2; ++p) {
                const QString raw = dir.filePath(QStringLiteral("rec%1.raw").arg(p));
                const Heard h = p == 0 ? solvane(c.a, c.b, raw) : mpv(c.a, c.b, raw);
                std::fprintf(stderr, "RUN %s %s gap=%.1f span=%.1f\n", c.name, p ? "mpv" : "solvane", h.gapMs, h.spanMs);
                if (h.gapMs >= 0) {
                    gap[p].push_back(h.gapMs);
                    span[p].push_back(h.spanMs - c.ms);
                }
            }
        }
        std::printf("| %s | %s | %s | %s | %s |\n", c.name, qPrintable(stats(gap[0])), qPrintable(stats(gap[1])),
                    qPrintable(stats(span[0])), qPrintable(stats(span[1])));
        std::fflush(stdout);
    }
    return 0;
}
