#pragma once
#include <QWidget>
#include <memory>

class QSvgRenderer;

// An image control: a picture stretched over its rectangle, or nothing at all
// (a transparent zone over the skin). It shows its tool tip and takes clicks
// only while shown, and reports the mouse with the button mask the windows
// decode (1 left, 2 right, 4 middle, added together).
class ImageControl : public QWidget
{
    Q_OBJECT
public:
    explicit ImageControl(QWidget *parent = nullptr);
    ~ImageControl() override;

    // A picture from the resources (SVG or bitmap); "" for a bare zone.
    void setPicture(const QString &resource);
    QString picture() const { return picture_; }

    // Places the control by twips, as the window layouts give it.
    void setGeometryTw(int left, int top, int width, int height);
    void setLeftTw(double left);
    int leftTw() const;

    static int buttonMask(Qt::MouseButtons buttons);

signals:
    void Click();
    void DblClick();
    void MouseDown(int button);
    void MouseMove(int button);
    void MouseUp(int button);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QString picture_;
    std::unique_ptr<QSvgRenderer> svg_;
    QPixmap bitmap_;
    bool pressedInside_ = false;
};
