#pragma once
#include <QRect>
#include <QSize>
#include <QString>

// Rules of the libmpv engine that need neither libmpv nor widgets.

// What libmpv is handed for a file name: http and https URLs as they are,
// anything else as an absolute local path, so that a name that looks like a
// protocol or an option ("av://…", "memory://…", "--x") only ever opens a file.
QString mpvTarget(const QString &name, const QString &currentDir);

// libmpv's volume (0 to 100, the amplitude follows its cube) for a level in
// hundredths of a decibel, 0 being the loudest.
double mpvVolume(int hundredthsDb);

// Amplitude factors of the two sides for a balance in hundredths of a decibel:
// negative lowers the right side, positive the left, ±10000 silences it.
struct ChannelGains
{
    double left = 1.0;
    double right = 1.0;
};
ChannelGains balanceGains(int balance);

// The engine's audio filters for `balance`: the source brought to two sides
// (mono feeds both at its own level, more than two channels are folded to
// stereo, since a balance only speaks of two sides), then the balance stage.
QString soundFilters(int balance, bool mono = true);

// The value of the balance stage's "balance_out" for `balance`: the amplitude
// kept on the lowered side, less one, negative when the right side is lowered.
double balanceOut(int balance);

// Elapsed or total time as "m:ss", or "h:mm:ss" from an hour on. Whole
// seconds as the main window's time counts them, so both show the same
// second: the minutes from the seconds rounded to the nearest whole (halves
// to even), the rest rounded the same way for an elapsed time and halves
// away from zero for a total, never below 0.
enum class Clock { Elapsed, Total };
QString clockText(double seconds, Clock kind = Clock::Elapsed);

// Where the picture goes inside `region` (its border of `border` pixels around
// it): display size 0 at its own size, 1 half, 2 double, 4 scaled to fit with
// its aspect kept; always centred. A picture larger than the region at its
// scale is scaled down to fit it, aspect kept, never cut. Without a picture
// size, the whole region.
QRect pictureRect(int displaySize, QSize video, const QRect &region, int border);

// What the status bar says when a file does not play, from libmpv's error
// and whether the file is there at all.
QString failureText(int mpvError, bool fileExists);
