#pragma once
// Media the engine tests make for themselves, and reading back the sound
// libmpv rendered to a file.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "engine/mpv_core.h"

// Null outputs that keep real time.
inline MpvOptions nullOutputs() { return {{"vo", "null"}, {"ao", "null"}}; }
// Where only the order of events matters: the sound runs as fast as it decodes.
inline MpvOptions untimedOutputs() { return nullOutputs() + MpvOptions{{"ao-null-untimed", "yes"}}; }
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

// The tone of writeWav and the clip of makeVideo, made once per length in a
// folder of this run and shared by the tests that ask for the same.
inline QString madeOnce(const QString &name, const std::function<bool(const QString &)> &make)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!QFile::exists(path) && !make(path))
        ADD_FAILURE() << "could not make " << qPrintable(name);
    return path;
}
inline QString tone(double s) { return madeOnce(QString("tone-%1.wav").arg(s), [=](auto &p) { return writeWav(p, s); }); }
inline QString clip(double s) { return madeOnce(QString("clip-%1.mp4").arg(s), [=](auto &p) { return makeVideo(p, s); }); }

// The rendered sound as levels of `blockMs` blocks: dB of each side. libmpv's
// file output writes a 68-byte header (channels at 22, rate at 24, bits per
// sample at 34) and fills in the sizes only when it closes the file.
struct BlockLevels
{
    std::vector<double> left, right;
    double seconds = 0;
};
inline BlockLevels blockLevels(const QString &path, int blockMs = 10)
{
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    auto u16 = [&](qsizetype at) { return all.size() > 68 ? int(quint8(all[at]) | quint8(all[at + 1]) << 8) : 0; };
    BlockLevels out;
    const int channels = u16(22), rate = u16(24) | u16(26) << 16;
    if (channels < 2 || u16(34) != 32 || rate <= 0)
        return out;
    const qsizetype frames = (all.size() - 68) / (4 * channels), block = rate * blockMs / 1000;
    const auto *s = reinterpret_cast<const float *>(all.constData() + 68);
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
    return out;
}
