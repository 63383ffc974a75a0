#pragma once
#include <QString>
#include <QStringList>

struct Settings;

// Where Solvane.cfg is read at start-up and written on apply: the user's own
// file in their configuration folder when there is one (apply wrote it there
// because the program's folder could not take it); otherwise the program's
// folder when it holds the file or can be written (a portable install, the
// build folder); otherwise the user's own file.
QString settingsFilePath(const QString &appFolder);
// The same choice, with the folder's writability and the user's configuration
// folder given.
QString settingsFilePath(const QString &appFolder, bool folderWritable, const QString &userConfigDir);

// Apply: writes `s` to `cfgPath`, or when that fails to the user's own file,
// which `cfgPath` then names. Returns nothing when a file was written,
// otherwise each path tried with why it failed, in French.
QStringList saveSettingsFile(QString &cfgPath, const Settings &s);
