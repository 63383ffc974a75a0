#pragma once
#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` so that a crash, a full disk or a
// killed process leaves either the old content or the new one, never a
// truncated file. Returns false, and leaves the old file alone, on any failure.
// A writable file in a folder that is not writable is rewritten in place,
// after its new size has been reserved on the disk.
// The new file keeps the old one's mode (a new one gets what the umask
// allows), and a symbolic link is written through to its target.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);
