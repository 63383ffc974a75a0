#pragma once
// Media the engine tests make for themselves, and reading back the sound
// libmpv rendered to a file.
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/mpv_core.h"

// Null outputs that keep real time.
inline MpvOptions nullOutputs() { return {{"vo", "null"}, {"ao", "null"}}; }
// Where only the order of events matters: the sound runs as fast as it decodes.
inline MpvOptions untimedOutputs() { return {{"vo", "null"}, {"ao", "null"}, {"ao-null-untimed", "yes"}}; }
// The rendered sound goes to a WAV file instead of a device; `paced` to real
// time as a sound card takes it, or as fast as it decodes.
inline MpvOptions soundToFile(const QString &path, bool paced = false)
{
    return MpvOptions{{"vo", "null"}, {"ao", "pcm"}, {"ao-pcm-file", path.toUtf8()}}
           + (paced ? MpvOptions{{"af", "lavfi=[arealtime]"}} : MpvOptions{});
}

// Runs ffmpeg quietly over an existing output; true when it made the file.
inline bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A 320 x 240 picture (a test pattern unless given), with a tone unless
// `sound` is false: H.264 + AAC in MP4.
inline bool makeVideo(const QString &path, double seconds, const QString &picture = "testsrc2=sar=1", bool sound = true)
{
    const QString d = QString::number(seconds);
    QStringList args{"-f", "lavfi", "-i", picture + ":size=320x240:rate=25:duration=" + d};
    if (sound)
        args << "-f" << "lavfi" << "-i" << "sine=frequency=440:duration=" + d << "-c:a" << "aac" << "-shortest";
    return ffmpeg(args << "-c:v" << "libx264" << "-preset" << "ultrafast" << "-pix_fmt" << "yuv420p" << path);
}

// 16-bit 48 kHz sine of amplitude 0.5 at 1 kHz, the same on each channel.
inline bool writeWav(const QString &path, double seconds, int channels = 2)
{
    return ffmpeg({"-f", "lavfi", "-i",
                   QStringLiteral("aevalsrc=0.5*sin(2*PI*1000*t):s=48000:d=%1:c=%2")
                       .arg(seconds).arg(channels == 1 ? "mono" : "stereo"),
                   "-c:a", "pcm_s16le", path});
}

// The rendered sound (a float WAV) as levels of `blockMs` blocks: dB of each side.
struct BlockLevels
{
    std::vector<double> left, right;
    double seconds = 0;
};
inline BlockLevels blockLevels(const QString &path, int blockMs = 10)
{
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    auto u32 = [&](qsizetype at) { quint32 v = 0; std::memcpy(&v, all.constData() + at, 4); return v; };
    int channels = 0, rate = 0;
    BlockLevels out;
    for (qsizetype at = 12; at + 8 <= all.size(); at += 8 + u32(at + 4)) {
        if (all.mid(at, 4) == "fmt ") {
            channels = quint8(all[at + 22]) == 32 ? quint8(all[at + 10]) : 0;
            rate = int(u32(at + 12));
        }
        if (all.mid(at, 4) != "data" || channels < 2 || rate <= 0)
            continue;
        // The header of a file still open may not hold the size yet.
        const qsizetype frames = (all.size() - at - 8) / (4 * channels), block = rate * blockMs / 1000;
        const auto *s = reinterpret_cast<const float *>(all.constData() + at + 8);
        auto db = [&](int c, qsizetype from) {
            double sum = 0;
            for (qsizetype i = from; i < from + block; ++i)
                sum += double(s[i * channels + c]) * s[i * channels + c];
            return 10 * std::log10(std::max(sum / block, 1e-24));
        };
        out.seconds = double(frames) / rate;
        for (qsizetype b = 0; b + block <= frames; b += block) {
            out.left.push_back(db(0, b));
            out.right.push_back(db(1, b));
        }
        break;
    }
    return out;
}
