// Start, first frame, exit and the cost of drawing, as a user meets them: the
// real program is started on a clip with the settings "quit at the end, play
// once", and watched from outside.
//   start -> first frame   from just before the program starts to the first
//                          time the clip's colour is on screen (polled every
//                          few ms inside the video window, found by xdotool)
//   end -> exit            (start -> exit) - (start -> first frame) - length
//                          of the clip: what is left after the clip played
//   CPU per second of 720p user + system time of the program playing a 10 s
//                          1280x720 30 fps clip, over those 10 s
// The program runs without a sound server, as in the peer comparisons.
// Needs an X server, e.g.
//   /work/shared/tools/desktop-session -- build/bench/bench_playback
//   build/bench/bench_playback [runs] [program]   (default 5, <build>/solvane)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
constexpr double kFirstSeconds = 2.0;
constexpr double kHdSeconds = 10.0;

bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(120000) && p.exitCode() == 0;
}

// Orange, far from the skin, the toolbar and a black picture.
bool orange(QRgb c) { return qRed(c) > 200 && qGreen(c) > 100 && qGreen(c) < 160 && qBlue(c) < 80; }

// Where the window titled with `name` is on screen, once it shows.
QRect videoWindow(const QString &name)
{
    QProcess x;
    x.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", QRegularExpression::escape(name),
                                        "getwindowgeometry", "--shell", "%@"});
    if (!x.waitForFinished(2000))
        return {};
    QRect r;
    for (const QByteArray &line : x.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> kv = line.split('=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == "X") r.moveLeft(v);
        else if (kv[0] == "Y") r.moveTop(v);
        else if (kv[0] == "WIDTH") r.setWidth(v);
        else if (kv[0] == "HEIGHT") r.setHeight(v);
    }
    return r.width() > 100 && r.height() > 100 ? r : QRect();
}

struct Run
{
    double firstFrame = -1, exit = -1, cpu = -1;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// One run in a fresh folder: the program beside its own settings file.
Run play(const QString &program, const QString &clip, bool watchFrame)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("solvane"));
    QFile::copy(program, exe);
    QFile cfg(dir.filePath(QStringLiteral("Solvane.cfg")));
    // Line 2, field 5: play once; line 3, field 1: quit at the end.
    if (!cfg.open(QIODevice::WriteOnly)
        || cfg.write(" 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  1  0  0 \r\n 1 -100  0  0 \r\n") < 0)
        return {};
    cfg.close();
    QDir(dir.path()).mkpath(QStringLiteral("run"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    // No sound server, as in the peer comparisons: the sound goes to libmpv's
    // null output, in real time.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    env.remove(QStringLiteral("PULSE_SERVER"));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QScreen *screen = QGuiApplication::primaryScreen();
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = cpuSeconds();
    QElapsedTimer t;
    t.start();
    p.start(exe, {clip});
    Run run;
    QRect window;
    while (watchFrame && !p.waitForFinished(3) && t.elapsed() < 30000) {
        if (window.isEmpty()) {
            window = videoWindow(QFileInfo(clip).fileName());
            continue;
        }
        // The picture sits in the upper middle of the video window.
        const QPoint spot(window.center().x(), window.top() + window.height() * 2 / 5);
        const QImage shot = screen->grabWindow(0, spot.x() - 8, spot.y() - 8, 16, 16).toImage();
        if (!shot.isNull() && orange(shot.pixel(8, 8))) {
            run.firstFrame = t.nsecsElapsed() / 1e9;
            break;
        }
    }
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    run.exit = t.nsecsElapsed() / 1e9;
    run.cpu = cpuSeconds() - cpuBefore;
    return p.exitStatus() == QProcess::NormalExit ? run : Run{};
}

void report(const char *what, std::vector<double> v, const char *unit, double scale)
{
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty()) {
        std::printf("%-28s no successful run\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    const double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    std::printf("%-28s median %7.3f %s  [%.3f - %.3f]  n=%zu\n", what, median * scale, unit, v.front() * scale,
                v.back() * scale, v.size());
}
}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs an X server (DISPLAY), e.g. under /work/shared/tools/desktop-session\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                     : QCoreApplication::applicationDirPath() + QStringLiteral("/../solvane");
    if (!QFile::exists(program)) {
        std::fprintf(stderr, "no program at %s\n", qPrintable(program));
        return 2;
    }
    QTemporaryDir media;
    const QString first = media.filePath(QStringLiteral("orange.mp4"));
    const QString hd = media.filePath(QStringLiteral("hd.mp4"));
    if (!ffmpeg({"-f", "lavfi", "-i", "color=c=0xF08020:size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                 "sine=frequency=440:duration=2", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac",
                 "-shortest", first})
        || !ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=30:duration=10", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=10:sample_rate=48000", "-c:v", "libx264", "-b:v", "3M",
                    "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", hd})) {
        std::fprintf(stderr, "ffmpeg could not make the clips\n");
        return 2;
    }
    // One unmeasured run: later ones find the libraries in the page cache.
    play(program, first, true);
    std::vector<double> firstFrame, end, total, cpu;
    for (int i = 0; i < runs; ++i) {
        const Run a = play(program, first, true);
        firstFrame.push_back(a.firstFrame);
        total.push_back(a.exit - kFirstSeconds);
        end.push_back(a.firstFrame >= 0 && a.exit >= 0 ? a.exit - a.firstFrame - kFirstSeconds : -1);
        const Run b = play(program, hd, false);
        cpu.push_back(b.cpu >= 0 ? b.cpu / kHdSeconds : -1);
    }
    report("start -> first frame", firstFrame, "ms", 1000);
    report("end -> exit", end, "ms", 1000);
    report("start -> exit - clip", total, "ms", 1000);
    report("CPU per second of 720p", cpu, "s/s", 1);
    return 0;
}
