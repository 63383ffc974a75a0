#pragma once
#include "platform/form.h"
#include "platform/form_registry.h"

class MediaEngine;
class MovieToolbar;

// The video window: the one home of the media engine, with its toolbar on
// top. Every activation imposes the settings on the engine and the toolbar
// again; the end of a stream decides what plays next.
class frmMovie : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::frmMovie;
    explicit frmMovie(App &app);

    MediaEngine *Mp() const { return Mp_; }
    MovieToolbar *Toolbar1 = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void Mp_EndOfStream(int Result);
    void Toolbar1_ButtonClick(int Button);

    // Toolbar on top (as its Visible property says), engine area below it.
    // Does not change whether the toolbar is to be shown; reads it.
    void verticalLayout();
    // Normal or maximised. Full screen is the engine's display size and
    // stays as it is underneath.
    void setMaximized(bool maximized);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *engineArea() const;
    void placeEngineArea(int leftTw, int topTw, int widthTw, int heightTw);
    // Quits as the main window's shutdown does, ending the program.
    void closeAllAndQuit();
    void flip(int Button);

    MediaEngine *Mp_ = nullptr;
    bool centred_ = false;
    // Outer size in twips outside full screen: full screen is the engine's
    // way of showing the picture, not a size of this window.
    QSize ownSizeTw_;
};
