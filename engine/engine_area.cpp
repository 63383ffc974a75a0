#include "engine/engine_area.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "engine/engine_panels.h"
#include "engine/engine_rules.h"

namespace {
// Behind the picture and around it: black, as in any player.
class BlackWidget : public QWidget
{
public:
    using QWidget::QWidget;
    QColor color = Qt::black;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), color); }
};
}  // namespace

EngineArea::EngineArea(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    auto *frame = new BlackWidget(this);
    frame->setMouseTracking(true);
    frame->setObjectName(QStringLiteral("pictureFrame"));
    frame_ = frame;
    panels_ = new EnginePanels(this);
    overlay_ = panels_->makeControlButtons(this);
    overlay_->setObjectName(QStringLiteral("fullScreenControls"));
    overlay_->setAutoFillBackground(true);
    overlay_->hide();
    overlayTimer_ = new QTimer(this);
    overlayTimer_->setSingleShot(true);
    overlayTimer_->setInterval(2500);
    connect(overlayTimer_, &QTimer::timeout, overlay_, &QWidget::hide);
    connect(panels_, &EnginePanels::layoutChanged, this, &EngineArea::relayout);
}

EngineArea::~EngineArea()
{
    // Never leave the window stuck in full screen behind us.
    leaveFullScreen(true);
}

void EngineArea::setPicture(QWidget *picture)
{
    picture_ = picture;
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setMouseTracking(true);
    picture_->installEventFilter(this);
    relayout();
}

void EngineArea::setVideoSize(QSize size)
{
    if (size == video_)
        return;
    video_ = size;
    relayout();
}

void EngineArea::setDisplaySize(int size)
{
    if (size == 3) {
        enterFullScreen();
        return;
    }
    size_ = size;
    leaveFullScreen(true);
    relayout();
}

QSize EngineArea::minimumSizeHint() const
{
    return {panels_->minimumSizeHint().width(), panels_->panelsHeight()};
}

void EngineArea::setBorder(QColor color, int width)
{
    static_cast<BlackWidget *>(frame_)->color = color;
    borderWidth_ = std::max(width, 0);
    frame_->update();
    relayout();
}

void EngineArea::relayout()
{
    if (fullScreen_) {
        frame_->setGeometry(rect());
        if (picture_)
            picture_->setGeometry(frame_->rect());
        const QSize s = overlay_->sizeHint();
        overlay_->setGeometry((width() - s.width()) / 2, height() - s.height() - 24, s.width(), s.height());
        return;
    }
    const int panelsHeight = std::min(panels_->panelsHeight(), height());
    panels_->setGeometry(0, height() - panelsHeight, width(), panelsHeight);
    panels_->setVisible(panelsHeight > 0);
    const QRect region(0, 0, width(), height() - panelsHeight);
    // Without a picture the black picture widget covers the region, border-less.
    const int border = video_.isEmpty() ? 0 : borderWidth_;
    const QRect picture = pictureRect(size_, video_, region, border);
    frame_->setGeometry(picture.adjusted(-border, -border, border, border));
    if (picture_)
        picture_->setGeometry(border, border, picture.width(), picture.height());
}

void EngineArea::paintEvent(QPaintEvent *)
{
    // A picture smaller than its region sits on black, not on the window's grey.
    const int bottom = panels_->isVisible() ? panels_->y() : height();
    QPainter(this).fillRect(QRect(0, 0, width(), bottom), Qt::black);
}

void EngineArea::resizeEvent(QResizeEvent *)
{
    relayout();
    if (fullScreen_ && geometry() != fullScreenGeometry())
        fitWindowLater();
}

void EngineArea::moveEvent(QMoveEvent *)
{
    if (fullScreen_ && geometry() != fullScreenGeometry())
        fitWindowLater();
}

QRect EngineArea::fullScreenGeometry() const
{
    QWidget *w = window();
    QWidget *p = parentWidget();
    if (w == this || !p)
        return geometry();
    return QRect(p->mapFrom(w, QPoint(0, 0)), w->size());
}

void EngineArea::fitWindowLater()
{
    // Later: the window's own resize handler places us after its filters ran.
    QTimer::singleShot(0, this, [this] {
        if (!fullScreen_ || window() == this)
            return;
        raise();
        if (geometry() != fullScreenGeometry())
            setGeometry(fullScreenGeometry());
    });
}

void EngineArea::enterFullScreen()
{
    if (fullScreen_)
        return;
    QWidget *w = window();
    fullScreen_ = true;
    normalGeometry_ = geometry();
    panels_->hide();
    raise();
    // Sees the window's events and Escape wherever the focus is.
    qApp->installEventFilter(this);
    changingState_ = true;
    w->setWindowState(w->windowState() | Qt::WindowFullScreen);
    changingState_ = false;
    if (w != this)
        setGeometry(fullScreenGeometry());
    relayout();
}

void EngineArea::leaveFullScreen(bool restoreWindow)
{
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    overlayTimer_->stop();
    overlay_->hide();
    QWidget *w = window();
    qApp->removeEventFilter(this);
    if (w != this)
        setGeometry(normalGeometry_);
    if (restoreWindow && (w->windowState() & Qt::WindowFullScreen)) {
        changingState_ = true;
        w->setWindowState(w->windowState() & ~Qt::WindowFullScreen);
        changingState_ = false;
    }
    relayout();
}

void EngineArea::showOverlay()
{
    if (!fullScreenControls_)
        return;
    relayout();
    overlay_->show();
    overlay_->raise();
    overlayTimer_->start();
}

bool EngineArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picture_) {
        if (fullScreen_ && event->type() == QEvent::MouseButtonDblClick) {
            leaveFullScreen(true);
            emit leftFullScreen(size_);
            return true;
        }
        if (fullScreen_ && event->type() == QEvent::MouseMove)
            showOverlay();
        return false;
    }
    if (!fullScreen_)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        auto *target = qobject_cast<QWidget *>(watched);
        if (target && target->window() == window()) {
            leaveFullScreen(true);
            emit leftFullScreen(size_);
            return true;
        }
        return false;
    }
    if (watched != window())
        return false;
    if (event->type() == QEvent::Resize) {
        fitWindowLater();
    } else if (event->type() == QEvent::WindowStateChange && !changingState_
               && !(window()->windowState() & Qt::WindowFullScreen)) {
        // The program setting normal or maximized sets the window's state
        // under the picture, as with a separate full-screen view; the window
        // system may also echo an older request late. Full screen is put back,
        // unless something keeps taking it away: then it is left for good.
        if (!fights_.isValid() || fights_.elapsed() > 2000) {
            fights_.start();
            fightCount_ = 0;
        }
        if (++fightCount_ > 4) {
            leaveFullScreen(false);
            emit leftFullScreen(size_);
            return false;
        }
        QTimer::singleShot(0, this, [this] {
            QWidget *w = window();
            if (!fullScreen_ || (w->windowState() & Qt::WindowFullScreen))
                return;
            changingState_ = true;
            w->setWindowState(w->windowState() | Qt::WindowFullScreen);
            changingState_ = false;
            fitWindowLater();
        });
    }
    return false;
}
