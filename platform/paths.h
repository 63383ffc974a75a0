#pragma once
#include <QString>

// Every path convention of the platform lives here, so that another platform
// is one file to change.
namespace paths {

inline constexpr QChar kSeparator = u'/';

// Absolute on this platform: starts at the root, or is a web address. A
// colon means nothing: "C:\\x" or "1:23.mp3" are names in the current folder.
bool isAbsolute(const QString &path);

// The folder path ending in exactly one separator; "" gives "/".
QString WithBackslash(const QString &folder);

// True when the path names an existing ordinary file: folders, devices and
// hidden files are not ordinary files.
bool FileExists(const QString &path);

// http and https entries are streams; everything else is a local file.
bool isWebUrl(const QString &entry);

// Joins a relative path to the current directory.
QString joinToCurrentDir(const QString &currentDir, const QString &arg);

}  // namespace paths
