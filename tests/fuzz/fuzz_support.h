#pragma once
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "engine/engine_rules.h"
#include "tests/support/files.h"

// A property that does not hold is a finding, as a crash is: the input that
// broke it is kept and becomes a regression input.
#define FUZZ_REQUIRE(cond)                                                                     \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace fuzz {

// A folder for the files a fuzzer writes, in memory when the system has one:
// the writers sync every file they write.
inline QString scratchDir()
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/solvane-fuzz-XXXXXX")
                                                       : QDir::tempPath() + QStringLiteral("/solvane-fuzz-XXXXXX"));
    return dir.path();
}

// Whether libmpv takes `target` for something other than a file or a web
// stream: an option or stdin (a leading "-"), or a protocol, as libmpv spots
// one: "://" after a scheme of a letter then letters, digits, "+", "-" or
// "." ("av://", "lavf://", "edl://", "memory://", "fd://"…). Written from
// libmpv's side, not from the engine's rule.
inline bool mpvTakesAsSpecial(const QString &target)
{
    static const QRegularExpression protocol(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QString scheme = protocol.match(target).captured(1).toLower();
    return target.startsWith(QLatin1Char('-')) || (!scheme.isEmpty() && scheme != QLatin1String("http") && scheme != QLatin1String("https"));
}

// What the engine hands libmpv for an entry is a file or a web stream.
inline bool safeForMpv(const QString &entry)
{
    return !mpvTakesAsSpecial(mpvTarget(entry, QStringLiteral("/home/user")));
}

}  // namespace fuzz
