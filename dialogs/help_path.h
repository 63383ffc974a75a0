#pragma once
#include <QString>

// The help file "Solvane.hlp": beside the program (one separator before the
// name whether or not the folder ends in one) when it is there, else where an
// installed program keeps it, in ../share/solvane/ from the program's folder.
// When neither exists, the path beside the program, which the help window
// then names as missing.
QString helpFilePath(const QString &appFolder);
