#include "platform/window_drag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <QGuiApplication>
#include <xcb/xcb.h>
#endif

namespace {

// One drag at a time: the skin reports every mouse move while the button is
// held, and each extra move request would be replayed by the window manager
// at the next click.
QPointer<QObject> activeDrag;

// While the window manager moves the window, the window follows every move
// it reports. Some window managers report only the last one, after the
// button is up (and the program may see a release at the start), so the drag
// is over only at the next button press the program sees.
class SystemMove : public QObject
{
public:
    SystemMove(QWidget *window, std::function<void(QPoint)> onMoved)
        : QObject(window), window_(window), onMoved_(std::move(onMoved))
    {
        window->installEventFilter(this);
        qApp->installEventFilter(this);
        // A safety net: a move nobody finishes must not block the next drag.
        QTimer::singleShot(60000, this, &QObject::deleteLater);
        // Some window managers (openbox) report nothing until the button is
        // up: ask the X server where the window is while the button is held.
        auto *poll = new QTimer(this);
        poll->setInterval(15);
        connect(poll, &QTimer::timeout, this, [this, poll] {
            if (!followOnX11())
                poll->stop();
        });
        poll->start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Move && watched == parent()) {
            onMoved_(window_->frameGeometry().topLeft());
        } else if (e->type() == QEvent::MouseButtonPress) {
            deleteLater();
        }
        return false;
    }

private:
    // Reports where the window really is; false once the button is up, or
    // where there is no X server to ask.
    bool followOnX11()
    {
#if QT_CONFIG(xcb)
        auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11 || !x11->connection())
            return false;
        xcb_connection_t *c = x11->connection();
        const auto id = xcb_window_t(window_->winId());
        xcb_query_pointer_reply_t *pointer = xcb_query_pointer_reply(c, xcb_query_pointer(c, id), nullptr);
        if (!pointer)
            return false;
        const bool held = pointer->mask & XCB_BUTTON_MASK_1;
        xcb_translate_coordinates_reply_t *at =
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, pointer->root, 0, 0), nullptr);
        free(pointer);
        if (!at)
            return false;
        // Client origin on screen, less the frame the window manager draws.
        const QPoint client(at->dst_x, at->dst_y);
        free(at);
        const QPoint outer = client - (window_->geometry().topLeft() - window_->frameGeometry().topLeft());
        if (outer != last_) {
            last_ = outer;
            onMoved_(outer);
        }
        return held;
#else
        return false;
#endif
    }

    QWidget *window_;
    std::function<void(QPoint)> onMoved_;
    QPoint last_ = window_->frameGeometry().topLeft();
};

// Without a window manager: the window follows the mouse until the release.
class ManualMove : public QObject
{
public:
    ManualMove(QWidget *window, std::function<void(QPoint)> onMoved)
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
            onMoved_(window_->frameGeometry().topLeft());
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            window_->releaseMouse();
            onMoved_(window_->frameGeometry().topLeft());
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QWidget *window_;
    std::function<void(QPoint)> onMoved_;
    QPoint offset_;
};

}  // namespace

void dragWindow(QWidget *window, std::function<void(QPoint)> onMoved)
{
    if (activeDrag)
        return;
    QWidget *top = window->window();
    QWindow *handle = top->windowHandle();
    if (handle && handle->startSystemMove())
        activeDrag = new SystemMove(top, std::move(onMoved));
    else
        activeDrag = new ManualMove(top, std::move(onMoved));
}
