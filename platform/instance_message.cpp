#include "platform/instance_message.h"

#include <QStringDecoder>
#include <QtEndian>

namespace {
const QByteArray kTag("SOLVANE1");
}  // namespace

QByteArray encodeHandOver(const HandOver &message)
{
    QByteArray payload;
    for (const QString &text : QStringList{message.currentDir} + message.arguments) {
        payload += text.toUtf8().replace('\0', QByteArray());
        payload += '\0';
    }
    QByteArray out = kTag;
    char length[4];
    qToBigEndian(quint32(payload.size()), length);
    out.append(length, 4);
    return out + payload;
}

HandOverParse decodeHandOver(const QByteArray &received, HandOver &out)
{
    const qsizetype tagPart = std::min(received.size(), kTag.size());
    if (received.left(tagPart) != kTag.left(tagPart))
        return HandOverParse::Bad;
    if (received.size() < kHandOverHeader)
        return HandOverParse::NeedMore;
    const quint32 length = qFromBigEndian<quint32>(received.constData() + kTag.size());
    if (length == 0 || length > quint32(kHandOverMaxPayload))
        return HandOverParse::Bad;
    const qsizetype total = kHandOverHeader + qsizetype(length);
    if (received.size() < total)
        return HandOverParse::NeedMore;
    if (received.size() > total)
        return HandOverParse::Bad;
    const QByteArray payload = received.mid(kHandOverHeader);
    if (!payload.endsWith('\0'))
        return HandOverParse::Bad;

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(payload.chopped(1));
    if (utf8.hasError())
        return HandOverParse::Bad;
    QStringList parts = text.split(QChar(0));
    HandOver message;
    message.currentDir = parts.takeFirst();
    if (!message.currentDir.startsWith(QLatin1Char('/')))
        return HandOverParse::Bad;
    message.arguments = parts;
    out = message;
    return HandOverParse::Done;
}
