#pragma once
#include <QString>

// Where Solvane.cfg lives: in the program's folder when that folder already
// holds it or can be written (a portable install, the build folder);
// otherwise in the user's configuration folder for Solvane, so that settings
// survive on an install the user cannot write to.
QString settingsFilePath(const QString &appFolder);
// The same choice, with the folder's writability and the user's configuration
// folder given.
QString settingsFilePath(const QString &appFolder, bool folderWritable, const QString &userConfigDir);
