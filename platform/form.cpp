#include "platform/form.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <utility>

#include "app/app_context.h"
#include "platform/twips.h"

namespace {
QMargins measuredFrame(const QWidget *w)
{
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}
}  // namespace

bool placementReadBack() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

Form::Form(App &app, FormId id, QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), app_(app), id_(id)
{
}

// Windows of different kinds get different frames (a tool window's title bar
// is not a main window's), so each window's frame is its own: another
// window's is no guess for it.
bool Form::frameKnown() const
{
    return (windowFlags() & Qt::FramelessWindowHint) || app_.forms.knownFrame(id_).has_value();
}

QMargins Form::frame() const
{
    if (windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QMargins m = measuredFrame(this);
    const std::optional<QMargins> &known = app_.forms.knownFrame(id_);
    return (!m.isNull() || !known) ? m : *known;
}

// Called as the window manager places and frames the window.
void Form::noteFrame()
{
    if (windowFlags() & Qt::FramelessWindowHint || !isVisible())
        return;
    const QMargins m = measuredFrame(this);
    // Where the window system decorates windows without saying so, the frame
    // is never coming: none is the measure.
    if (m.isNull() && placementReadBack())
        return;
    std::optional<QMargins> &known = app_.forms.knownFrame(id_);
    const bool first = !known;
    known = m;
    // Sizes asked for before the frame was known took the whole outer size
    // for the client area; now they can be given their meaning.
    const double w = std::exchange(pendingWidthTw_, -1), h = std::exchange(pendingHeightTw_, -1);
    if (w >= 0)
        setTwWidth(w);
    if (h >= 0)
        setTwHeight(h);
    if (first)
        emit frameMeasured();
}

int Form::twLeft() const { return twips::fromPx(frameGeometry().x()); }
int Form::twTop() const { return twips::fromPx(frameGeometry().y()); }
int Form::twWidth() const
{
    if (pendingWidthTw_ >= 0)
        return int(std::lround(pendingWidthTw_));
    const QMargins m = frame();
    return twips::fromPx(width() + m.left() + m.right());
}
int Form::twHeight() const
{
    if (pendingHeightTw_ >= 0)
        return int(std::lround(pendingHeightTw_));
    const QMargins m = frame();
    return twips::fromPx(height() + m.top() + m.bottom());
}

void Form::moveTw(double left, double top) { move(twips::toPx(left), twips::toPx(top)); }

void Form::setTwWidth(double w)
{
    pendingWidthTw_ = frameKnown() ? -1 : w;
    const QMargins m = frame();
    resize(qMax(1, twips::toPx(w) - m.left() - m.right()), height());
}

void Form::setTwHeight(double h)
{
    pendingHeightTw_ = frameKnown() ? -1 : h;
    const QMargins m = frame();
    resize(width(), qMax(1, twips::toPx(h) - m.top() - m.bottom()));
}

void Form::setClientSizeTw(int w, int h) { resize(twips::toPx(w), twips::toPx(h)); }

void Form::Unload() { app_.forms.unload(id_); }

bool Form::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Expose:
    case QEvent::UpdateRequest:
        noteFrame();
        break;
    case QEvent::WindowActivate:
        noteFrame();
        Form_Activate();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void Form::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void Form::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form::closeEvent(QCloseEvent *e)
{
    // The registry decides when the widget goes; closing is an unload.
    e->ignore();
    Unload();
}
