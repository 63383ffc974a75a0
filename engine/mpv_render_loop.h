#pragma once
#include <QSize>
#include <condition_variable>
#include <mutex>

struct mpv_handle;
struct mpv_render_context;
struct mpv_render_param;
class QObject;
class QThread;

// libmpv's renderer, driven from a thread of its own: a frame is drawn as
// soon as libmpv has it, and taken without drawing while it cannot be seen,
// whatever the interface is busy with, so libmpv never waits for a frame
// nobody draws. Subclasses say how a frame reaches the screen; their
// destructor calls stop().
class MpvRenderLoop
{
public:
    virtual ~MpvRenderLoop();

    // GUI thread: makes the renderer (with whatever `params` need current).
    bool create(mpv_handle *mpv, mpv_render_param *params);
    // Starts the loop; `bound` (a GL context) moves to its thread.
    void run(QObject *bound = nullptr);
    bool running() const { return thread_ != nullptr; }
    // Where frames go now; draws the current frame again.
    void setTarget(bool shown, QSize size);
    // Frees the renderer before the player goes. libmpv's video output is
    // closed first while frames are still taken, so nothing waits.
    void release(mpv_handle *mpv);
    void stop();

protected:
    // The loop's thread.
    virtual void begin() {}
    virtual void draw(mpv_render_context *render, bool shown, QSize size) = 0;
    virtual void end() {}

private:
    static void onUpdate(void *self);
    void loop();

    mpv_render_context *render_ = nullptr;
    QThread *thread_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_.
    bool pending_ = false, redraw_ = false, quit_ = false, shown_ = false;
    QSize size_;
};
