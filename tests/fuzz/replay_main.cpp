// Runs a fuzzer's checks on every saved input (seed corpus and the inputs of
// past findings), without libFuzzer: the regression test of each fuzzer.
#include <QDirIterator>
#include <cstdint>
#include <cstdio>

#include "tests/support/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        for (QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++count) {
            const QString name = it.next();
            std::printf("%s\n", qPrintable(name));
            std::fflush(stdout);  // the name stays on record when the checks abort
            const QByteArray bytes = fileBytes(name);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        }
    }
    std::printf("%d inputs passed\n", count);
    return count > 0 ? 0 : 1;
}
