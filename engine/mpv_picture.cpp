#include "engine/mpv_picture.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <mpv/render_gl.h>
#include <algorithm>
#include <vector>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif

bool openGlUsable()
{
    static const bool usable = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
            || platform == QLatin1String("vnc") || platform == QLatin1String("linuxfb"))
            return false;
        QOpenGLContext context;
        if (!context.create())
            return false;
        QOffscreenSurface surface;
        surface.create();
        if (!surface.isValid() || !context.makeCurrent(&surface))
            return false;
        context.doneCurrent();
        return true;
    }();
    return usable;
}

static void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

MpvGlPicture::MpvGlPicture(mpv_handle *mpv, QWidget *parent) : QOpenGLWidget(parent), mpv_(mpv)
{
    setMouseTracking(true);
}

MpvGlPicture::~MpvGlPicture() { release(); }

void MpvGlPicture::release()
{
    if (!render_)
        return;
    makeCurrent();
    mpv_render_context_free(render_);
    render_ = nullptr;
    tried_ = false;
    doneCurrent();
}

void MpvGlPicture::setBlank(bool blank)
{
    if (blank == blank_)
        return;
    blank_ = blank;
    update();
}

void MpvGlPicture::initializeGL()
{
    if (render_ || tried_ || !mpv_)
        return;
    tried_ = true;
    // Gone with the context (a widget moved to another top-level window).
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvGlPicture::release,
            Qt::DirectConnection);
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
    if (mpv_render_context_create(&render_, mpv_, params.data()) < 0) {
        render_ = nullptr;
        emit renderReady();
        return;
    }
    mpv_render_context_set_update_callback(render_, &MpvGlPicture::onUpdate, this);
    emit renderReady();
}

void MpvGlPicture::paintGL()
{
    QOpenGLFunctions *f = context()->functions();
    f->glClearColor(0, 0, 0, 1);
    f->glClear(GL_COLOR_BUFFER_BIT);
    if (!render_ || blank_)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), qRound(width() * ratio), qRound(height() * ratio), 0};
    int flip = 1;
    int block = 0;  // never hold the GUI thread for a frame's display time
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                 {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(render_, params);
}

void MpvGlPicture::onUpdate(void *self)
{
    // A libmpv thread: only queue the work for the GUI thread.
    QMetaObject::invokeMethod(static_cast<MpvGlPicture *>(self), "frameReady", Qt::QueuedConnection);
}

void MpvGlPicture::frameReady()
{
    if (!render_ || !(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME))
        return;
    if (isVisible() && !window()->isMinimized()) {
        update();
        return;
    }
    // Nothing paints a hidden picture: take the frame anyway, or libmpv
    // waits for it and the video falls behind the sound.
    makeCurrent();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), std::max(width(), 1), std::max(height(), 1), 0};
    int skip = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(render_, params);
    doneCurrent();
}
