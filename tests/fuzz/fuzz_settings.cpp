// The settings-file reader on arbitrary bytes, and the writer's files read
// back: the first 76 bytes are also taken as nineteen raw field values.
#include <cstring>

#include "app/settings.h"
#include "tests/fuzz/fuzz_support.h"

static Settings readBack(const QString &path)
{
    Settings s;
    readSettingsFile(path, s);
    return s;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString input = fuzz::scratchDir() + QStringLiteral("/input.cfg");
    const QString written = fuzz::scratchDir() + QStringLiteral("/Solvane.cfg");

    // Whatever the file holds, what was read is written and read back equal.
    FUZZ_REQUIRE(writeFile(input, bytes));
    const Settings read = readBack(input);
    Settings fromBytes;
    parseSettings(bytes, fromBytes);
    if (bytes.size() < 32 * 1024)  // longer lines may be skipped by the file reader
        FUZZ_REQUIRE(fromBytes == read);
    FUZZ_REQUIRE(writeSettingsFile(written, read));
    FUZZ_REQUIRE(readBack(written) == read);

    // Any values at all, as the dialog and the toolbar may set them.
    std::array<qint32, Settings::kFieldCount> raw{};
    std::memcpy(raw.data(), data, std::min(size, sizeof(raw)));
    Settings any;
    any.fromArray(raw);
    FUZZ_REQUIRE(writeSettingsFile(written, any));
    FUZZ_REQUIRE(readBack(written) == any);
    const QByteArray text = fileBytes(written);
    FUZZ_REQUIRE(text == formatSettings(any));
    FUZZ_REQUIRE(text.count("\r\n") == 3 && text.endsWith(" \r\n"));
    return 0;
}
