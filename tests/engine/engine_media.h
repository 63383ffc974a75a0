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

// A test picture with a tone, H.264 + AAC in MP4.
inline bool makeVideo(const QString &path, double seconds)
{
    const QString d = QString::number(seconds);
    QProcess p;
    p.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=" + d,
                       "-f", "lavfi", "-i", "sine=frequency=440:duration=" + d, "-c:v", "libx264", "-preset",
                       "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", path});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
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

// Level in dB (full scale) of each channel of a float WAV, over its middle
// half: the edges hold the decoder's and the output's start and end.
inline std::vector<double> levelsDb(const QString &path)
{
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    auto u32 = [&](qsizetype at) { quint32 v = 0; std::memcpy(&v, all.constData() + at, 4); return v; };
    int channels = 0;
    std::vector<double> levels;
    for (qsizetype at = 12; at + 8 <= all.size(); at += 8 + u32(at + 4)) {
        if (all.mid(at, 4) == "fmt ")  // 32-bit samples: the engine renders floats
            channels = quint8(all[at + 22]) == 32 ? quint8(all[at + 10]) : 0;
        if (all.mid(at, 4) != "data" || channels == 0)
            continue;
        // The header of a file still open may not hold the size yet.
        const qsizetype frames = (all.size() - at - 8) / (4 * channels);
        const auto *s = reinterpret_cast<const float *>(all.constData() + at + 8);
        for (int c = 0; c < channels; ++c) {
            double sum = 0;
            for (qsizetype i = frames / 4; i < frames * 3 / 4; ++i)
                sum += double(s[i * channels + c]) * s[i * channels + c];
            levels.push_back(10 * std::log10(std::max(sum / std::max<qsizetype>(frames / 2, 1), 1e-24)));
        }
        break;
    }
    return levels;
}

// The rendered float WAV as levels of `blockMs` blocks: dB of each side.
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
    BlockLevels out;
    int channels = 0, rate = 0;
    for (qsizetype at = 12; at + 8 <= all.size(); at += 8 + u32(at + 4)) {
        if (all.mid(at, 4) == "fmt ") {
            channels = quint8(all[at + 22]) == 32 ? quint8(all[at + 10]) : 0;
            rate = int(u32(at + 12));
        }
        if (all.mid(at, 4) != "data" || channels < 2 || rate <= 0)
            continue;
        const qsizetype frames = (all.size() - at - 8) / (4 * channels);
        const auto *s = reinterpret_cast<const float *>(all.constData() + at + 8);
        const qsizetype block = rate * blockMs / 1000;
        out.seconds = double(frames) / rate;
        for (qsizetype b = 0; b + block <= frames; b += block) {
            double l = 0, r = 0;
            for (qsizetype i = b; i < b + block; ++i) {
                l += double(s[i * channels]) * s[i * channels];
                r += double(s[i * channels + 1]) * s[i * channels + 1];
            }
            out.left.push_back(10 * std::log10(std::max(l / block, 1e-24)));
            out.right.push_back(10 * std::log10(std::max(r / block, 1e-24)));
        }
        break;
    }
    return out;
}
