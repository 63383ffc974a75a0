#include "engine/mpv_render_loop.h"

#include <QCoreApplication>
#include <QThread>
#include <mpv/client.h>
#include <mpv/render.h>

MpvRenderLoop::~MpvRenderLoop() = default;

bool MpvRenderLoop::create(mpv_handle *mpv, mpv_render_param *params)
{
    if (mpv_render_context_create(&render_, mpv, params) >= 0)
        return true;
    render_ = nullptr;
    return false;
}

void MpvRenderLoop::run(QObject *bound)
{
    if (!render_ || thread_)
        return;
    thread_ = QThread::create([this] { loop(); });
    thread_->setObjectName(QStringLiteral("picture"));
    if (bound)
        bound->moveToThread(thread_);
    mpv_render_context_set_update_callback(render_, &MpvRenderLoop::onUpdate, this);
    thread_->start();
}

void MpvRenderLoop::onUpdate(void *self)
{
    // A libmpv thread: only wake the loop.
    auto *loop = static_cast<MpvRenderLoop *>(self);
    {
        const std::lock_guard<std::mutex> lock(loop->mutex_);
        loop->pending_ = true;
    }
    loop->wake_.notify_one();
}

void MpvRenderLoop::setTarget(bool shown, QSize size)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        shown_ = shown;
        size_ = size;
        redraw_ = true;
    }
    wake_.notify_one();
}

void MpvRenderLoop::loop()
{
    begin();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || redraw_ || quit_; });
        if (quit_)
            break;
        const bool redraw = redraw_, shown = shown_;
        const QSize size = size_;
        pending_ = redraw_ = false;
        lock.unlock();
        const bool frame = mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME;
        if (frame || (redraw && shown))
            draw(render_, shown && !size.isEmpty(), size);
        lock.lock();
    }
    lock.unlock();
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    end();
}

void MpvRenderLoop::release(mpv_handle *mpv)
{
    // Freeing the renderer waits for libmpv's video output to close, and
    // that output may be waiting for a frame: close it while the loop still
    // takes the frames.
    if (thread_ && mpv)
        mpv_set_property_string(mpv, "vid", "no");
    stop();
}

void MpvRenderLoop::stop()
{
    if (thread_) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        wake_.notify_one();
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
    }
    if (render_) {
        // Made but never run.
        mpv_render_context_free(render_);
        render_ = nullptr;
    }
}
