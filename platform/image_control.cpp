#include "platform/image_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include "platform/twips.h"

ImageControl::ImageControl(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

ImageControl::~ImageControl() = default;

void ImageControl::setPicture(const QString &resource)
{
    picture_ = resource;
    svg_.reset();
    bitmap_ = QPixmap();
    if (resource.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        svg_ = std::make_unique<QSvgRenderer>(resource);
    else if (!resource.isEmpty())
        bitmap_.load(resource);
    update();
}

void ImageControl::setGeometryTw(int left, int top, int width, int height)
{
    setGeometry(twips::toPx(left), twips::toPx(top), twips::toPx(width), twips::toPx(height));
}

void ImageControl::setLeftTw(double left) { move(twips::toPx(left), y()); }
int ImageControl::leftTw() const { return twips::fromPx(x()); }

int ImageControl::buttonMask(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

void ImageControl::paintEvent(QPaintEvent *)
{
    if (!svg_ && bitmap_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    if (svg_)
        svg_->render(&p, rect());
    else
        p.drawPixmap(rect(), bitmap_);
}

void ImageControl::mousePressEvent(QMouseEvent *e)
{
    pressedInside_ = true;
    emit MouseDown(buttonMask(e->button()));
}

void ImageControl::mouseMoveEvent(QMouseEvent *e) { emit MouseMove(buttonMask(e->buttons())); }

void ImageControl::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = pressedInside_ && rect().contains(e->position().toPoint());
    pressedInside_ = false;
    emit MouseUp(buttonMask(e->button()));
    if (click && e->button() == Qt::LeftButton)
        emit Click();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}
