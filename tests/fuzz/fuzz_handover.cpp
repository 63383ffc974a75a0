// The hand-over message a second start sends, on arbitrary bytes as they may
// arrive on the socket: one message is read whole or refused, never half.
#include "platform/instance_message.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    HandOver message;
    const HandOverParse result = decodeHandOver(bytes, message);
    // A message cut short is never taken for a whole one.
    for (qsizetype cut : {qsizetype(0), qsizetype(1), qsizetype(kHandOverHeader), bytes.size() / 2, bytes.size() - 1}) {
        HandOver part;
        FUZZ_REQUIRE(cut < 0 || cut >= bytes.size() || decodeHandOver(bytes.left(cut), part) != HandOverParse::Done ||
                     result == HandOverParse::Bad);
    }
    if (result == HandOverParse::Done) {
        FUZZ_REQUIRE(message.currentDir.startsWith(QLatin1Char('/')));
        FUZZ_REQUIRE(encodeHandOver(message).size() <= bytes.size());
        HandOver again;
        FUZZ_REQUIRE(decodeHandOver(encodeHandOver(message), again) == HandOverParse::Done);
        FUZZ_REQUIRE(again.currentDir == message.currentDir && again.arguments == message.arguments);
    }

    // Whatever a second start holds, the message it sends reads back equal.
    const QStringList texts = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    HandOver sent{QLatin1Char('/') + texts.constFirst(), texts.mid(1)};
    sent.currentDir.remove(QChar(0));
    for (QString &a : sent.arguments)
        a.remove(QChar(0));
    const QByteArray wire = encodeHandOver(sent);
    HandOver got;
    const bool fits = wire.size() - kHandOverHeader <= kHandOverMaxPayload;
    FUZZ_REQUIRE(decodeHandOver(wire, got) == (fits ? HandOverParse::Done : HandOverParse::Bad));
    FUZZ_REQUIRE(!fits || (got.currentDir == sent.currentDir && got.arguments == sent.arguments));
    return 0;
}
