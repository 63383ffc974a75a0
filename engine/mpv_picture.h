#pragma once
#include <QWidget>
#include <memory>

struct mpv_handle;
class GlVideo;
class SoftwareVideo;

// The picture: black until a file with video needs libmpv's renderer, which
// then draws from a thread of its own, so a frame never waits for the
// interface. With a graphics device it draws with OpenGL in a native child
// window (a frame repaints nothing else); without one, libmpv converts frames
// into images this widget paints (SOLVANE_VIDEO=gl or image chooses instead).
// Sound alone never pays for either.
class MpvPicture : public QWidget
{
    Q_OBJECT
public:
    explicit MpvPicture(QWidget *parent);
    ~MpvPicture() override;

    // Makes libmpv's renderer, and the video window and its GL context when
    // drawing with OpenGL. False when there is no way: files play without video.
    bool startVideo(mpv_handle *mpv);
    bool hasVideo() const;
    // Without video (a sound file, between files) the picture is black, not
    // the last frame of the file before.
    void setBlank(bool blank);
    // Frees the renderer before the player goes. The video output is closed
    // first while frames are still answered, so nothing waits for a frame.
    void release(mpv_handle *mpv);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void hideEvent(QHideEvent *) override;

private:
    void retarget();
    void placeVideo();

    GlVideo *gl_ = nullptr;  // owned by its container
    QWidget *container_ = nullptr;
    std::unique_ptr<SoftwareVideo> software_;
    bool blank_ = true;
};
