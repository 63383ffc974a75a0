#pragma once
#include <QColor>
#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

class EnginePanels;
class QTimer;

// The engine area the video window places: the picture (in a frame that draws
// its border) over the engine's panels. It also lays out the display sizes and
// full screen, where the existing top-level window goes full screen and the
// picture fills it: moving the GL picture to another window would kill it.
class EngineArea : public QWidget
{
    Q_OBJECT
public:
    explicit EngineArea(QWidget *parent);
    ~EngineArea() override;

    EnginePanels *panels() const { return panels_; }
    // Where the picture widget is to be created.
    QWidget *pictureHost() const { return frame_; }
    void setPicture(QWidget *picture);

    void setVideoSize(QSize size);
    // 0 own size, 1 half, 2 double, 3 full screen, 4 scaled to the area.
    void setDisplaySize(int size);
    int displaySize() const { return fullScreen_ ? 3 : size_; }
    void setBorder(QColor color, int width);
    void setFullScreenControls(bool on) { fullScreenControls_ = on; }

    void relayout();
    // The shown panels whole: their height and their widest row.
    QSize minimumSizeHint() const override;

signals:
    // Full screen was left by the user or the window system, not by a set:
    // the display size in use again.
    void leftFullScreen(int size);

protected:
    void resizeEvent(QResizeEvent *) override;
    void paintEvent(QPaintEvent *) override;
    void moveEvent(QMoveEvent *) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enterFullScreen();
    void leaveFullScreen(bool restoreWindow);
    QRect fullScreenGeometry() const;
    void fitWindowLater();
    void showOverlay();

    QWidget *frame_;
    QWidget *picture_ = nullptr;
    EnginePanels *panels_;
    QWidget *overlay_;
    QTimer *overlayTimer_;
    QSize video_;
    int size_ = 0;
    QColor borderColor_ = Qt::black;
    int borderWidth_ = 0;
    bool fullScreenControls_ = false;
    bool fullScreen_ = false;
    bool changingState_ = false;
    QRect normalGeometry_;
    QElapsedTimer fights_;
    int fightCount_ = 0;
};
