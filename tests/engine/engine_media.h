#pragma once
// Media the engine tests make for themselves, and reading back what libmpv
// rendered to a file.
#include <QByteArray>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "playback/mpv_core.h"

// Null outputs that keep real time.
inline MpvOptions nullOutputs() { return {{"vo", "null"}, {"ao", "null"}}; }

// Where only the order of events matters: the sound runs as fast as it decodes.
inline MpvOptions untimedOutputs() { return {{"vo", "null"}, {"ao", "null"}, {"ao-null-untimed", "yes"}}; }

// The rendered sound goes to a WAV file instead of a device.
inline MpvOptions soundToFile(const QString &path)
{
    return {{"vo", "null"}, {"ao", "pcm"}, {"ao-pcm-file", path.toUtf8()}, {"ao-pcm-waveheader", "yes"}};
}

inline bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-loglevel", "error", "-y"} + args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A test picture with a tone, H.264 + AAC in MP4.
inline bool makeVideo(const QString &path, double seconds, const QString &size = QStringLiteral("320x240"))
{
    const QString d = QString::number(seconds);
    return ffmpeg({"-f", "lavfi", "-i", QStringLiteral("testsrc2=size=%1:rate=25:duration=%2").arg(size, d),
                   "-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(d),
                   "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", path});
}

// 16-bit PCM sine; `channels` 1 or 2, same tone on each.
inline bool writeWav(const QString &path, double seconds, int channels = 2, double amplitude = 0.5,
                     double frequency = 1000, int rate = 48000)
{
    const int frames = int(seconds * rate);
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i) {
        const auto v = qint16(std::lround(amplitude * 32767 * std::sin(2 * M_PI * frequency * i / rate)));
        for (int c = 0; c < channels; ++c)
            out << v;
    }
    QByteArray file;
    QDataStream h(&file, QIODevice::WriteOnly);
    h.setByteOrder(QDataStream::LittleEndian);
    h.writeRawData("RIFF", 4);
    h << quint32(36 + data.size());
    h.writeRawData("WAVEfmt ", 8);
    h << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * channels * 2)
      << quint16(channels * 2) << quint16(16);
    h.writeRawData("data", 4);
    h << quint32(data.size());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(file + data) == file.size() + data.size();
}

// Samples of a WAV file as doubles in [-1, 1], one vector per channel.
// Reads 16/32-bit integer and 32-bit float data, plain or extensible.
struct Sound
{
    int rate = 0;
    std::vector<std::vector<double>> channels;

    // Level of one channel in dB relative to full scale, over its middle part
    // (the edges hold the decoder's and the output's start and end).
    double levelDb(int channel) const
    {
        const auto &s = channels.at(channel);
        const size_t from = s.size() / 4, to = s.size() * 3 / 4;
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += s[i] * s[i];
        const double rms = std::sqrt(sum / double(std::max<size_t>(to - from, 1)));
        return 20 * std::log10(std::max(rms, 1e-12));
    }
};

inline Sound readWav(const QString &path)
{
    Sound sound;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return sound;
    const QByteArray all = f.readAll();
    auto u16 = [&](qsizetype at) { return quint16(quint8(all[at]) | quint8(all[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    int format = 0, channels = 0, bits = 0;
    qsizetype at = 12;
    while (at + 8 <= all.size()) {
        const QByteArray id = all.mid(at, 4);
        qsizetype size = u32(at + 4);
        if (id == "fmt ") {
            format = u16(at + 8);
            channels = u16(at + 10);
            sound.rate = int(u32(at + 12));
            bits = u16(at + 22);
            if (format == 0xFFFE)
                format = u16(at + 32);  // sub-format GUID starts with the plain tag
        } else if (id == "data") {
            // A header written before the end may still say 0 or "unknown".
            if (size == 0 || size == qsizetype(0xFFFFFFFF) || at + 8 + size > all.size())
                size = all.size() - at - 8;
            const qsizetype bytes = bits / 8, frame = bytes * channels;
            if (!frame)
                return sound;
            sound.channels.assign(channels, {});
            for (qsizetype p = at + 8; p + frame <= at + 8 + size; p += frame)
                for (int c = 0; c < channels; ++c) {
                    const qsizetype q = p + c * bytes;
                    double v = 0;
                    if (format == 3 && bits == 32) {
                        const quint32 raw = u32(q);
                        float fv;
                        std::memcpy(&fv, &raw, 4);
                        v = fv;
                    } else if (bits == 16) {
                        v = qint16(u16(q)) / 32768.0;
                    } else if (bits == 32) {
                        v = qint32(u32(q)) / 2147483648.0;
                    }
                    sound.channels[c].push_back(v);
                }
            return sound;
        }
        at += 8 + size + (size & 1);
    }
    return sound;
}
