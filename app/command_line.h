#pragma once
#include <QString>
#include <QStringList>

// What the command line asks for: the paths in order, each made absolute.
// The first one is played, or loaded when it is a playlist file; the others
// are appended to the playlist after it.
struct CommandLine
{
    QStringList paths;
    bool firstIsList = false;
    bool isEmpty() const { return paths.isEmpty(); }
};

// `args` are the arguments after the program name, as the shell passed them.
CommandLine parseCommandLine(const QStringList &args, const QString &currentDir);
