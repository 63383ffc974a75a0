#pragma once
#include <QWidget>

class App;
enum class FormId;

// Whether the window system lets the program place its windows and tells
// where they stand. Native Wayland does neither: there a window's position is
// only what was asked for, and a frame may never be reported.
bool placementReadBack();

// A window of the program. It exists at most once: the registry creates it
// hidden on first reference, runs Form_Load, and runs Form_Unload before it
// destroys it. Geometry helpers speak twips and outer (frame) sizes, which
// is what the windows' own code reasons in.
class Form : public QWidget
{
    Q_OBJECT
public:
    Form(App &app, FormId id, QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    App &app() const { return app_; }
    FormId formId() const { return id_; }

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload() {}

    // Outer geometry in twips.
    int twLeft() const;
    int twTop() const;
    int twWidth() const;
    int twHeight() const;
    void moveTw(double left, double top);
    void setTwWidth(double width);
    void setTwHeight(double height);
    // Sets the client area, the size a window is designed at.
    void setClientSizeTw(int width, int height);

    // Closes the window through the registry (Form_Unload, then destroy).
    void Unload();

    // Whether the window manager has framed this window (this one, or an
    // earlier one of the same form) during this run.
    bool frameKnown() const;

signals:
    // The first time this form's frame is measured in a run.
    void frameMeasured();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QMargins frame() const;
    void noteFrame();

    // Outer sizes asked for while the frame was unknown, in twips: applied
    // again once the frame is known, and reported meanwhile.
    double pendingWidthTw_ = -1, pendingHeightTw_ = -1;

    App &app_;
    FormId id_;
};
