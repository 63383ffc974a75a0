#include "platform/window_drag.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Follows the window while the window manager moves it, and ends when the
// mouse comes back to the program or the window stops moving.
class SystemMoveWatcher : public QObject
{
public:
    SystemMoveWatcher(QWidget *window, std::function<void()> onMoved)
        : QObject(window), window_(window), onMoved_(std::move(onMoved))
    {
        quiet_.setSingleShot(true);
        quiet_.setInterval(400);
        connect(&quiet_, &QTimer::timeout, this, [this] { finish(); });
        window->installEventFilter(this);
        quiet_.start();
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Move:
            onMoved_();
            quiet_.start();
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::Enter:
            finish();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void finish()
    {
        if (done_)
            return;
        done_ = true;
        if (window_)
            onMoved_();
        deleteLater();
    }

    QPointer<QWidget> window_;
    std::function<void()> onMoved_;
    QTimer quiet_;
    bool done_ = false;
};

// Without a window manager: the window follows the mouse until the release.
class ManualMove : public QObject
{
public:
    ManualMove(QWidget *window, std::function<void()> onMoved)
        : QObject(window), window_(window), onMoved_(std::move(onMoved)),
          offset_(QCursor::pos() - window->frameGeometry().topLeft())
    {
        window->installEventFilter(this);
        window->grabMouse();
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove) {
            const auto *me = static_cast<QMouseEvent *>(e);
            window_->move(me->globalPosition().toPoint() - offset_);
            onMoved_();
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            window_->releaseMouse();
            onMoved_();
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QWidget *window_;
    std::function<void()> onMoved_;
    QPoint offset_;
};

}  // namespace

void dragWindow(QWidget *window, std::function<void()> onMoved)
{
    QWidget *top = window->window();
    QWindow *handle = top->windowHandle();
    if (handle && handle->startSystemMove())
        new SystemMoveWatcher(top, std::move(onMoved));
    else
        new ManualMove(top, std::move(onMoved));
}
