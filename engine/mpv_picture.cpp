#include "engine/mpv_picture.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPainter>
#include <QThread>
#include <QWindow>
#include <condition_variable>
#include <mutex>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <vector>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif

bool videoPlatform()
{
    const QString platform = QGuiApplication::platformName();
    return !(platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
             || platform == QLatin1String("vnc") || platform == QLatin1String("linuxfb"));
}

// The native window libmpv draws into, with its render loop on a thread of
// its own: a frame is drawn as soon as libmpv has it, and taken without
// drawing while the window cannot be seen, whatever the interface is busy
// with, so libmpv never waits for a frame nobody draws.
class MpvVideoWindow : public QWindow
{
public:
    MpvVideoWindow()
    {
        setSurfaceType(QSurface::OpenGLSurface);
        // Clicks and moves go to the picture widget under it.
        setFlag(Qt::WindowTransparentForInput);
    }
    ~MpvVideoWindow() override { stop(); }

    bool start(mpv_handle *mpv);
    bool ready() const { return thread_ != nullptr; }
    void release(mpv_handle *mpv);

protected:
    void exposeEvent(QExposeEvent *) override { redraw(); }
    void resizeEvent(QResizeEvent *) override { redraw(); }

private:
    static void onUpdate(void *self);
    void redraw();
    void renderLoop();
    void render(bool shown, QSize size);
    void stop();

    QOpenGLContext *context_ = nullptr;
    mpv_render_context *render_ = nullptr;
    QThread *thread_ = nullptr;

    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_.
    bool pending_ = false, redraw_ = false, quit_ = false, shown_ = false;
    QSize size_;
};

static void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

bool MpvVideoWindow::start(mpv_handle *mpv)
{
    create();
    context_ = new QOpenGLContext;
    context_->setFormat(requestedFormat());
    if (!handle() || !context_->create() || !context_->makeCurrent(this)) {
        delete context_;
        context_ = nullptr;
        return false;
    }
    mpv_opengl_init_params gl{&procAddress, nullptr};
    std::vector<mpv_render_param> params{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
    };
    // The display lets libmpv share hardware-decoded frames with GL. Qt 6.4
    // only gives the X11 one publicly; elsewhere decoding stays in software.
#if QT_CONFIG(xcb)
    if (auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
        params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
#endif
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    const bool made = mpv_render_context_create(&render_, mpv, params.data()) >= 0;
    context_->doneCurrent();
    if (!made) {
        render_ = nullptr;
        delete context_;
        context_ = nullptr;
        return false;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        shown_ = isExposed();
        size_ = size() * devicePixelRatio();
    }
    thread_ = QThread::create([this] { renderLoop(); });
    thread_->setObjectName(QStringLiteral("picture"));
    context_->moveToThread(thread_);
    mpv_render_context_set_update_callback(render_, &MpvVideoWindow::onUpdate, this);
    thread_->start();
    return true;
}

void MpvVideoWindow::onUpdate(void *self)
{
    // A libmpv thread: only wake the render loop.
    auto *window = static_cast<MpvVideoWindow *>(self);
    {
        const std::lock_guard<std::mutex> lock(window->mutex_);
        window->pending_ = true;
    }
    window->wake_.notify_one();
}

void MpvVideoWindow::redraw()
{
    if (!thread_)
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        shown_ = isExposed();
        size_ = size() * devicePixelRatio();
        redraw_ = true;
    }
    wake_.notify_one();
}

void MpvVideoWindow::renderLoop()
{
    context_->makeCurrent(this);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || redraw_ || quit_; });
        if (quit_)
            break;
        const bool redraw = redraw_;
        const bool shown = shown_;
        const QSize size = size_;
        pending_ = redraw_ = false;
        lock.unlock();
        const bool frame = mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME;
        if (frame || (redraw && shown))
            render(shown, size);
        lock.lock();
    }
    lock.unlock();
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    context_->doneCurrent();
    context_->moveToThread(qApp->thread());
}

void MpvVideoWindow::render(bool shown, QSize size)
{
    mpv_opengl_fbo fbo{int(context_->defaultFramebufferObject()), qMax(1, size.width()), qMax(1, size.height()), 0};
    int flip = 1;
    int block = 0;
    int unseen = shown ? 0 : 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_SKIP_RENDERING, &unseen},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(render_, params);
    if (shown)
        context_->swapBuffers(this);
}

void MpvVideoWindow::release(mpv_handle *mpv)
{
    // Freeing the renderer waits for libmpv's video output to close, and
    // that output may be waiting for a frame: close it while the render loop
    // still takes the frames.
    if (thread_ && mpv)
        mpv_set_property_string(mpv, "vid", "no");
    stop();
}

void MpvVideoWindow::stop()
{
    if (!thread_)
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    delete context_;
    context_ = nullptr;
}

MpvPicture::MpvPicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MpvPicture::~MpvPicture() = default;

bool MpvPicture::startVideo(mpv_handle *mpv)
{
    if (video_)
        return video_->ready();
    video_ = new MpvVideoWindow;
    container_ = QWidget::createWindowContainer(video_, this);
    container_->setObjectName(QStringLiteral("video"));
    container_->setMouseTracking(true);
    container_->setGeometry(rect());
    // Native before it shows: the video window then lives inside it, under
    // whatever is raised over the picture, instead of over the whole window.
    container_->winId();
    container_->show();
    return video_->start(mpv);
}

bool MpvPicture::hasVideo() const { return video_ && video_->ready(); }

void MpvPicture::release(mpv_handle *mpv)
{
    if (video_)
        video_->release(mpv);
}

void MpvPicture::paintEvent(QPaintEvent *) { QPainter(this).fillRect(rect(), Qt::black); }

void MpvPicture::resizeEvent(QResizeEvent *)
{
    if (container_)
        container_->setGeometry(rect());
}
