#pragma once
#include <QFile>

// Writes `bytes` as the whole file; true when all of it was written.
inline bool writeFile(const QString &path, const QByteArray &bytes = {})
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The file's bytes, or a marker no test expects when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
