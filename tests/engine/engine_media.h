#pragma once
// Media the engine tests make for themselves, and reading back the sound
// libmpv rendered to a file.
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/mpv_core.h"

// Null outputs that keep real time.
inline MpvOptions nullOutputs() { return {{"vo", "null"}, {"ao", "null"}}; }
// Where only the order of events matters: the sound runs as fast as it decodes.
inline MpvOptions untimedOutputs() { return {{"vo", "null"}, {"ao", "null"}, {"ao-null-untimed", "yes"}}; }
// The rendered sound goes to a WAV file instead of a device.
inline MpvOptions soundToFile(const QString &path)
{
    return {{"vo", "null"}, {"ao", "pcm"}, {"ao-pcm-file", path.toUtf8()}};
}

// Runs ffmpeg quietly over an existing output; true when it made the file.
inline bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A test picture with a tone, H.264 + AAC in MP4.
inline bool makeVideo(const QString &path, double seconds)
{
    const QString d = QString::number(seconds);
    return ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=" + d, "-f", "lavfi", "-i",
                   "sine=frequency=440:duration=" + d, "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                   "-c:a", "aac", "-shortest", path});
}

// 16-bit sine of amplitude 0.5 at 1 kHz, the same on each of `channels`.
inline bool writeWav(const QString &path, double seconds, int channels = 2)
{
    const int rate = 48000, frames = int(seconds * rate);
    std::vector<qint16> samples;
    for (int i = 0; i < frames; ++i)
        samples.insert(samples.end(), channels, qint16(std::lround(16383 * std::sin(2 * M_PI * 1000.0 * i / rate))));
    const quint32 bytes = quint32(samples.size() * 2);
    const quint16 align = quint16(channels * 2), pcm = 1, chans = quint16(channels), bits = 16;
    const quint32 riff = 36 + bytes, fmtSize = 16, byteRate = rate * align, r = rate;
    QByteArray h;  // little-endian on every machine this runs on
    auto put = [&h](const void *p, int n) { h.append(static_cast<const char *>(p), n); };
    h += "RIFF";
    put(&riff, 4);
    h += "WAVEfmt ";
    for (auto [p, n] : {std::pair<const void *, int>{&fmtSize, 4}, {&pcm, 2}, {&chans, 2}, {&r, 4}, {&byteRate, 4},
                        {&align, 2}, {&bits, 2}})
        put(p, n);
    h += "data";
    put(&bytes, 4);
    put(samples.data(), int(bytes));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(h) == h.size();
}

// The samples of a float WAV the engine rendered (none unless 32-bit).
struct FloatWav
{
    QByteArray bytes;
    const float *samples = nullptr;
    qsizetype frames = 0;
    int channels = 0, rate = 0;
};
inline FloatWav readFloatWav(const QString &path)
{
    FloatWav w;
    QFile f(path);
    w.bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const QByteArray &all = w.bytes;
    auto u32 = [&](qsizetype at) { quint32 v = 0; std::memcpy(&v, all.constData() + at, 4); return v; };
    for (qsizetype at = 12; at + 8 <= all.size(); at += 8 + u32(at + 4)) {
        if (all.mid(at, 4) == "fmt ") {
            w.channels = quint8(all[at + 22]) == 32 ? quint8(all[at + 10]) : 0;
            w.rate = int(u32(at + 12));
        }
        if (all.mid(at, 4) != "data" || w.channels == 0)
            continue;
        // The header of a file still open may not hold the size yet.
        w.frames = (all.size() - at - 8) / (4 * w.channels);
        w.samples = reinterpret_cast<const float *>(all.constData() + at + 8);
        break;
    }
    return w;
}

// dB (full scale) of one channel over frames [from, to).
inline double levelDb(const FloatWav &w, int channel, qsizetype from, qsizetype to)
{
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += double(w.samples[i * w.channels + channel]) * w.samples[i * w.channels + channel];
    return 10 * std::log10(std::max(sum / std::max<qsizetype>(to - from, 1), 1e-24));
}

// Level of each channel over the middle half: the edges hold the decoder's
// and the output's start and end.
inline std::vector<double> levelsDb(const QString &path)
{
    const FloatWav w = readFloatWav(path);
    std::vector<double> levels;
    for (int c = 0; w.samples && c < w.channels; ++c)
        levels.push_back(levelDb(w, c, w.frames / 4, w.frames * 3 / 4));
    return levels;
}

// The rendered sound as levels of `blockMs` blocks: dB of each side.
struct BlockLevels
{
    std::vector<double> left, right;
    double seconds = 0;
};
inline BlockLevels blockLevels(const QString &path, int blockMs = 10)
{
    const FloatWav w = readFloatWav(path);
    BlockLevels out;
    if (!w.samples || w.channels < 2 || w.rate <= 0)
        return out;
    const qsizetype block = w.rate * blockMs / 1000;
    out.seconds = double(w.frames) / w.rate;
    for (qsizetype b = 0; b + block <= w.frames; b += block) {
        out.left.push_back(levelDb(w, 0, b, b + block));
        out.right.push_back(levelDb(w, 1, b, b + block));
    }
    return out;
}
