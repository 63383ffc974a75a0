#include "platform/window_drag.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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
    SystemMove(QWidget *window, std::function<void()> onMoved)
        : QObject(window), onMoved_(std::move(onMoved))
    {
        window->installEventFilter(this);
        qApp->installEventFilter(this);
        // A safety net: a move nobody finishes must not block the next drag.
        QTimer::singleShot(60000, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Move && watched == parent()) {
            onMoved_();
        } else if (e->type() == QEvent::MouseButtonPress) {
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> onMoved_;
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
    if (activeDrag)
        return;
    QWidget *top = window->window();
    QWindow *handle = top->windowHandle();
    if (handle && handle->startSystemMove())
        activeDrag = new SystemMove(top, std::move(onMoved));
    else
        activeDrag = new ManualMove(top, std::move(onMoved));
}
