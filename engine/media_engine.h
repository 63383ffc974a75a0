#pragma once
#include <QObject>
#include <QVariant>
#include <functional>
#include <optional>

class QWidget;

// The members of the media engine the windows use, by dispatch id.
enum class Disp : int {
    FileName = 1026,              // set, text: file to open
    Play = 2001,                  // call
    Pause = 2002,                 // call
    Stop = 2003,                  // call
    CurrentPosition = 1027,       // get, double seconds (-1 when nothing is open)
    Duration = 1003,              // get, double seconds (0 when unknown)
    DisplaySize = 1032,           // set, int: 0 100%, 1 50%, 2 200%, 3 full screen, 4 fit
    ShowControls = 23,            // get/set, bool
    ShowAudioControls = 1107,     // get/set, bool
    ShowPositionControls = 26,    // get/set, bool
    ShowDisplay = 22,             // get/set, bool: title panel
    ShowStatusBar = 1086,         // get/set, bool
    EnableFullScreenControls = 1108,  // set, bool
    AutoRewind = 1018,            // set, bool
    AutoStart = 1017,             // set, bool
    Mute = 1089,                  // set, bool
    PlayCount = 1030,             // set, int: 0 repeats without end
    VideoBorderColor = 1102,      // set, int 0x00BBGGRR
    VideoBorderWidth = 1101,      // set, int pixels
    Volume = 19,                  // set, int hundredths of a dB, 0 loudest
    Balance = 20,                 // set, int hundredths of a dB, negative lowers the right
    PlayState = 1028,             // get, int: a PlayState value
    ImageSourceWidth = 1021,      // get, int pixels, 0 without a picture
    ImageSourceHeight = 1022,     // get, int pixels, 0 without a picture
    ClipTitle = 1116,             // get, text: the file's own title tag, "" without
    ClipAuthor = 1117,            // get, text: the file's own artist tag, "" without
    HasVideo = 9001,              // get, bool: a video track shows, not a still picture (cover art)
};

// What the engine is doing, as PlayState reads it and PlayStateChange tells.
enum PlayState : int { mpStopped = 0, mpPaused = 1, mpPlaying = 2, mpWaiting = 3, mpClosed = 6 };

// The media engine as the windows drive it. Every member can fail; failures
// are reported to the caller and never thrown into the event loop.
class MediaEngine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MediaEngine() override = default;

    virtual bool set(Disp id, const QVariant &value) = 0;
    virtual std::optional<QVariant> get(Disp id) = 0;
    virtual bool call(Disp id) = 0;

    // The engine area: picture and panels. The video window places it.
    virtual QWidget *widget() = 0;

    // Asked a little before the last play of a file ends: the file the end of
    // stream will then set, or "" when that is not known. The engine may open
    // it ahead and go on into it without a break; setting it then changes nothing.
    std::function<QString()> nextFile;

signals:
    // Once the play count is used up and the last sound has been heard
    // (Result 0), or when a file cannot be played (Result != 0). Never on
    // stop nor when a new file replaces the current one.
    void EndOfStream(int Result);
    // The user changed the display size from within the engine (left full
    // screen with Escape or a double-click): the size now in use.
    void DisplaySizeChanged(int size);
    // Whenever PlayState changes.
    void PlayStateChange(int OldState, int NewState);
    // A jump in the file asked for by the user (position bar, knob, remote).
    void PositionChange(double oldPosition, double newPosition);
    // The user changed the volume or the mute with the engine's own sound
    // controls: both as they now are.
    void SoundChanged(int volume, bool muted);
};
