#pragma once
#include <QWidget>

struct mpv_handle;
class MpvVideoWindow;

// Whether pictures can be drawn with OpenGL on this platform at all. Not on
// the offscreen one, nor on others without windows. It loads no GL driver:
// that only happens once a file has a picture to show.
bool videoPlatform();

// The picture: black until a file with video needs libmpv's renderer. It
// then holds a native child window where libmpv draws from a thread of its
// own; the frames go to the screen without repainting the rest of the window
// or waiting for the interface, and sound alone never pays for OpenGL.
class MpvPicture : public QWidget
{
    Q_OBJECT
public:
    explicit MpvPicture(QWidget *parent);
    ~MpvPicture() override;

    // Makes the video window, its GL context and libmpv's renderer. False
    // when OpenGL cannot be used here: files then play without video.
    bool startVideo(mpv_handle *mpv);
    bool hasVideo() const;
    // Frees the renderer before the player goes. The video output is closed
    // first while frames are still answered, so nothing waits for a frame.
    void release(mpv_handle *mpv);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    MpvVideoWindow *video_ = nullptr;
    QWidget *container_ = nullptr;
};
