#pragma once
#include <QString>

// The per-user key-value store: application, section and key to text. Kept in
// an INI file under the user's configuration folder.
class UserStore
{
public:
    QString read(const QString &app, const QString &section, const QString &key,
                 const QString &fallback) const;
    void write(const QString &app, const QString &section, const QString &key, const QString &text);
};
