#include "platform/user_store.h"

#include <QSettings>


QString UserStore::read(const QString &app, const QString &section, const QString &key,
                        const QString &fallback) const
{
    const QSettings s(QSettings::IniFormat, QSettings::UserScope, app, app);
    return s.value(section + u'/' + key, fallback).toString();
}

void UserStore::write(const QString &app, const QString &section, const QString &key, const QString &text)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, app, app);
    s.setValue(section + u'/' + key, text);
    s.sync();
}
