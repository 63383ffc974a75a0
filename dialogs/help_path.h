#pragma once
#include <QString>

// The help file: "Solvane.hlp" in the program's folder, one separator
// before the name whether or not the folder ends in one.
QString helpFilePath(const QString &appFolder);
