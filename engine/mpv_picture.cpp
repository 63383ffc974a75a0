#include "engine/mpv_picture.h"

#include <QDir>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPainter>
#include <QThread>
#include <QWindow>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <vector>

#include "engine/mpv_render_loop.h"

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif

namespace {
// Without a graphics device OpenGL runs on the processor, and then a frame
// costs far less converted by libmpv straight into an image than drawn by
// software OpenGL (and the GL driver, LLVM, is not loaded at all).
bool openGlInSoftware()
{
    if (qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE") == QLatin1String("1"))
        return true;
    return QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                                                      QDir::System).isEmpty();
}

// SOLVANE_VIDEO=gl or image chooses the path; anything else leaves the
// choice to the machine. Platforms without windows of their own have no
// OpenGL, whatever is asked; nor has native Wayland, where the picture's
// child window is a subsurface that stays black.
bool drawWithOpenGl()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
        || platform == QLatin1String("vnc") || platform == QLatin1String("linuxfb")
        || platform.startsWith(QLatin1String("wayland")))
        return false;
    const QString choice = qEnvironmentVariable("SOLVANE_VIDEO");
    if (choice == QLatin1String("gl") || choice == QLatin1String("image"))
        return choice == QLatin1String("gl");
    return !openGlInSoftware();
}

void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}
}  // namespace

// OpenGL: a native child window with a GL context of its own, where libmpv
// draws and swaps; the rest of the window is never repainted for a frame.
class GlVideo : public QWindow, public MpvRenderLoop
{
public:
    GlVideo()
    {
        setSurfaceType(QSurface::OpenGLSurface);
        // No alpha: under a compositor a window with alpha may show the
        // desktop through the picture.
        QSurfaceFormat format = requestedFormat();
        format.setAlphaBufferSize(0);
        setFormat(format);
        // Clicks and moves go to the picture widget under it.
        setFlag(Qt::WindowTransparentForInput);
    }
    ~GlVideo() override
    {
        stop();
        delete context_;
    }

    bool start(mpv_handle *mpv)
    {
        QWindow::create();
        context_ = new QOpenGLContext;
        context_->setFormat(requestedFormat());
        if (!handle() || !context_->create() || !context_->makeCurrent(this))
            return false;
        mpv_opengl_init_params gl{&procAddress, nullptr};
        std::vector<mpv_render_param> params{
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
            {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        };
        // The display lets libmpv share hardware-decoded frames with GL. Qt
        // 6.4 only gives the X11 one publicly.
#if QT_CONFIG(xcb)
        if (auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
            params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
#endif
        params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
        const bool made = MpvRenderLoop::create(mpv, params.data());
        context_->doneCurrent();
        if (made) {
            retarget();
            run(context_);
        }
        return made;
    }

protected:
    void exposeEvent(QExposeEvent *) override { retarget(); }
    void resizeEvent(QResizeEvent *) override { retarget(); }

    void begin() override { context_->makeCurrent(this); }
    void draw(mpv_render_context *render, bool shown, QSize size) override
    {
        mpv_opengl_fbo fbo{int(context_->defaultFramebufferObject()), size.width(), size.height(), 0};
        int flip = 1, block = 0, unseen = shown ? 0 : 1;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                     {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                     {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                     {MPV_RENDER_PARAM_SKIP_RENDERING, &unseen},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(render, params);
        if (shown)
            context_->swapBuffers(this);
    }
    void end() override
    {
        context_->doneCurrent();
        context_->moveToThread(qApp->thread());
    }

private:
    void retarget() { setTarget(isExposed(), size() * devicePixelRatio()); }

    QOpenGLContext *context_ = nullptr;
};

// In software: libmpv converts each frame into an image the picture paints.
class SoftwareVideo : public MpvRenderLoop
{
public:
    explicit SoftwareVideo(QWidget *picture) : picture_(picture) {}
    ~SoftwareVideo() override { stop(); }

    bool start(mpv_handle *mpv)
    {
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (!MpvRenderLoop::create(mpv, params))
            return false;
        run();
        return true;
    }
    // GUI thread: the last frame, drawn at the top left, one image pixel to
    // each device pixel.
    void paint(QPainter &painter, qreal ratio)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (shown_.image.isNull())
            return;
        shown_.image.setDevicePixelRatio(ratio);
        painter.drawImage(0, 0, shown_.image);
    }

protected:
    void draw(mpv_render_context *render, bool shown, QSize size) override
    {
        int unseen = shown ? 0 : 1;
        if (shown)
            next_.fit(size);
        int wh[2] = {size.width(), size.height()};
        size_t stride = size_t(next_.image.bytesPerLine());
        char format[] = "bgr0";  // QImage::Format_RGB32 in memory
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, wh},
                                     {MPV_RENDER_PARAM_SW_FORMAT, format},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, next_.image.bits()},
                                     {MPV_RENDER_PARAM_SKIP_RENDERING, &unseen},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (!shown) {
            mpv_render_context_render(render, params);
            return;
        }
        if (mpv_render_context_render(render, params) < 0)
            return;
        next_.makeOpaque();
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            std::swap(next_, shown_);
        }
        if (!queued_.exchange(true))
            QMetaObject::invokeMethod(
                picture_,
                [this] {
                    queued_ = false;
                    picture_->update();
                },
                Qt::QueuedConnection);
    }

private:
    // An image over memory aligned as libmpv's converters like it.
    struct Frame
    {
        std::unique_ptr<uchar, decltype(&std::free)> memory{nullptr, &std::free};
        QImage image;
        void fit(QSize size)
        {
            if (image.size() == size)
                return;
            const qsizetype stride = (qsizetype(size.width()) * 4 + 63) / 64 * 64;
            memory.reset(static_cast<uchar *>(std::aligned_alloc(64, size_t(stride * size.height() + 64))));
            image = memory ? QImage(memory.get(), size.width(), size.height(), stride, QImage::Format_RGB32)
                           : QImage();
        }
        // libmpv leaves the fourth byte as it likes (0 here), and Qt copies it
        // as it is into a window that has alpha: a compositor then shows the
        // desktop through the picture.
        void makeOpaque()
        {
            // Read once: QImage's accessors are not inlined, and this runs per pixel.
            const int width = image.width(), height = image.height();
            const qsizetype stride = image.bytesPerLine();
            for (int y = 0; y < height; ++y) {
                auto *line = reinterpret_cast<quint32 *>(memory.get() + y * stride);
                for (int x = 0; x < width; ++x)
                    line[x] |= 0xff000000u;
            }
        }
    };

    QWidget *picture_;
    std::mutex mutex_;
    Frame next_, shown_;  // shown_ guarded by mutex_
    std::atomic<bool> queued_{false};
};

MpvPicture::MpvPicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MpvPicture::~MpvPicture() = default;

bool MpvPicture::startVideo(mpv_handle *mpv)
{
    if (gl_ || software_)
        return hasVideo();
    if (drawWithOpenGl()) {
        gl_ = new GlVideo;
        container_ = QWidget::createWindowContainer(gl_, this);
        container_->setObjectName(QStringLiteral("video"));
        container_->setMouseTracking(true);
        container_->setGeometry(rect());
        // Native before it shows: the video window then lives inside it, under
        // whatever is raised over the picture, instead of over the whole window.
        container_->winId();
        container_->setVisible(!blank_);
        placeVideo();
        if (gl_->start(mpv))
            return true;
        // No OpenGL after all: the images below still work.
        delete container_;
        container_ = nullptr;
        gl_ = nullptr;
    }
    software_ = std::make_unique<SoftwareVideo>(this);
    const bool started = software_->start(mpv);
    retarget();
    return started;
}

bool MpvPicture::hasVideo() const
{
    return (gl_ && gl_->running()) || (software_ && software_->running());
}

void MpvPicture::release(mpv_handle *mpv)
{
    if (gl_)
        gl_->release(mpv);
    if (software_)
        software_->release(mpv);
}

void MpvPicture::setBlank(bool blank)
{
    if (blank == blank_)
        return;
    blank_ = blank;
    // The video window hidden, the black picture shows.
    if (container_)
        container_->setVisible(!blank_);
    placeVideo();
    retarget();
    update();
}

void MpvPicture::placeVideo()
{
    if (!container_)
        return;
    container_->setGeometry(rect());
    // Moved or sized before the container first showed, the video window
    // was placed at the container's offset in the whole window, and the
    // container puts it right only at its next move or resize.
    gl_->setGeometry(QRect(QPoint(0, 0), container_->size()));
}

void MpvPicture::retarget()
{
    if (software_)
        software_->setTarget(isVisible() && !blank_, size() * devicePixelRatio());
}

void MpvPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (software_ && !blank_)
        software_->paint(painter, devicePixelRatio());
}

void MpvPicture::resizeEvent(QResizeEvent *)
{
    placeVideo();
    retarget();
}

void MpvPicture::showEvent(QShowEvent *)
{
    placeVideo();
    retarget();
}

void MpvPicture::hideEvent(QHideEvent *) { retarget(); }
