#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>

// The nineteen playback and display options, in file order. Check-box fields
// hold 0 or 1; the video window treats any non-zero value as on.
struct Settings
{
    qint16 CfgDisplaySize = 0;
    qint16 CfgShowControls = 0;
    qint16 CfgShowAudioControls = 0;
    qint16 CfgShowPositionControls = 0;
    qint16 CfgShowDisplay = 0;
    qint16 CfgShowStatusBar = 0;
    qint16 CfgFullScreenControls = 0;
    qint16 CfgShowToolbar = 0;
    qint16 CfgFitToScreen = 0;
    qint16 CfgAutoRewind = 0;
    qint16 CfgAutoStart = 0;
    qint16 CfgMute = 0;
    qint16 CfgPlayCount = 0;
    qint32 CfgBorderColor = 0;
    qint16 CfgBorderWidth = 0;
    qint16 CfgExitAtEnd = 0;
    qint16 CfgVolume = 0;
    qint16 CfgBalance = 0;
    qint16 CfgLoopList = 0;

    static constexpr int kFieldCount = 19;
    static constexpr int kColorField = 13;  // 0-based: the only 32-bit field
    // Fields per line of the file: 1-8, 9-15, 16-19.
    static constexpr std::array<int, 3> kGroupSizes{8, 7, 4};

    // The values used when there is no settings file.
    static Settings defaults();

    std::array<qint32, kFieldCount> toArray() const;
    void fromArray(const std::array<qint32, kFieldCount> &values);
    bool operator==(const Settings &) const = default;
};

// The file's three lines: each value as a sign (space or "-"), its digits and
// one space, each line ended by CR LF.
QByteArray formatSettings(const Settings &s);

// Reads the values group by group over `s`. Blanks, commas and line ends
// separate values. A value that is missing, not a number or too large for its
// field ends its group: it and the rest of that group keep what `s` held.
void parseSettings(const QByteArray &bytes, Settings &s);

// Start-up: defaults when `path` is not an ordinary file; otherwise the file's
// values over `s` (all zero at start-up), whatever they are. The file is read
// line by line until the fields are filled; lines over 32 KiB are skipped.
void readSettingsFile(const QString &path, Settings &s);

// Apply: replaces the file atomically. Returns false when it could not be
// written; the old file then stays whole.
bool writeSettingsFile(const QString &path, const Settings &s);
