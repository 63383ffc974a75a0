#include "platform/form.h"

#include <QCloseEvent>
#include <QEvent>

#include "app/app_context.h"
#include "platform/twips.h"

namespace {
// The frame the window manager last gave any window. A window that has not
// been shown yet has no frame; assuming the usual one keeps outer sizes
// stable from one run to the next.
QMargins lastKnownFrame;
}  // namespace

Form::Form(App &app, FormId id, QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), app_(app), id_(id)
{
}

QMargins Form::frame() const
{
    if (windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins m(inner.left() - outer.left(), inner.top() - outer.top(),
                     outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!m.isNull())
        lastKnownFrame = m;
    return isVisible() ? m : lastKnownFrame;
}

int Form::twLeft() const { return twips::fromPx(frameGeometry().x()); }
int Form::twTop() const { return twips::fromPx(frameGeometry().y()); }
int Form::twWidth() const
{
    const QMargins m = frame();
    return twips::fromPx(width() + m.left() + m.right());
}
int Form::twHeight() const
{
    const QMargins m = frame();
    return twips::fromPx(height() + m.top() + m.bottom());
}

void Form::moveTw(double left, double top) { move(twips::toPx(left), twips::toPx(top)); }

void Form::setTwWidth(double w)
{
    const QMargins m = frame();
    resize(qMax(1, twips::toPx(w) - m.left() - m.right()), height());
}

void Form::setTwHeight(double h)
{
    const QMargins m = frame();
    resize(width(), qMax(1, twips::toPx(h) - m.top() - m.bottom()));
}

void Form::setClientSizeTw(int w, int h) { resize(twips::toPx(w), twips::toPx(h)); }

void Form::Unload() { app_.forms.unload(id_); }

bool Form::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
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
