#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The message a second start sends to the running instance: the folder it was
// started in and its arguments. On the wire: an 8-byte tag, the payload's
// length (32-bit, big-endian), then the payload, UTF-8 texts each ended by a
// zero byte, the folder first.
struct HandOver
{
    QString currentDir;
    QStringList arguments;
};

// A command line as long as the system lets a program have, and more.
inline constexpr int kHandOverMaxPayload = 4 * 1024 * 1024;
inline constexpr int kHandOverHeader = 12;

QByteArray encodeHandOver(const HandOver &message);

enum class HandOverParse { NeedMore, Bad, Done };
// Reads one whole message from what has arrived so far. Anything else than
// exactly one well-formed message (wrong tag, oversized, trailing bytes,
// broken UTF-8, a relative folder) is Bad.
HandOverParse decodeHandOver(const QByteArray &received, HandOver &out);
