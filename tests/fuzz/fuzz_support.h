#pragma once
#include <QDir>
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
inline const QString &scratchDir()
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/solvane-fuzz-XXXXXX")
                                                       : QDir::tempPath() + QStringLiteral("/solvane-fuzz-XXXXXX"));
    static const QString path = dir.path();
    return path;
}

// What libmpv is handed for an entry never reads as a protocol ("av://",
// "lavfi://", "memory://", "fd://"…) or as an option: it is an absolute path,
// or an http(s) URL.
inline bool safeForMpv(const QString &entry)
{
    const QString target = mpvTarget(entry, QStringLiteral("/home/user"));
    return target.startsWith(QLatin1Char('/')) || target.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           target.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

}  // namespace fuzz
