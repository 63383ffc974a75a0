#pragma once
#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

// Whether the picture can be drawn with OpenGL here. Not on the offscreen
// platform (a QOpenGLWidget shown there crashes Qt 6.4), nor where no GL
// context can be made current.
bool openGlUsable();

// The picture: libmpv draws into this widget through its render API, so the
// video stays inside our own window on X11 and Wayland alike.
class MpvGlPicture : public QOpenGLWidget
{
    Q_OBJECT
public:
    MpvGlPicture(mpv_handle *mpv, QWidget *parent);
    ~MpvGlPicture() override;

    bool ready() const { return render_ != nullptr; }
    // GL came up but libmpv could not draw with it: files load without video.
    bool failed() const { return tried_ && !render_; }
    // Frees the render context; libmpv needs that before the player goes.
    void release();
    // Without video (a sound file, between files) the picture is black, not
    // the last frame of the file before.
    void setBlank(bool blank);

signals:
    // The render context exists (or failed for good): files may be loaded.
    void renderReady();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onUpdate(void *self);
    Q_INVOKABLE void frameReady();

    mpv_handle *mpv_;
    mpv_render_context *render_ = nullptr;
    bool tried_ = false;
    bool blank_ = true;
};
