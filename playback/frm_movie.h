#pragma once
#include <climits>

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
    // The user left full screen inside the engine: the setting and the
    // toolbar follow, so the next activation keeps the window.
    void Mp_DisplaySizeChanged(int size);
    // The engine's own sound controls: kept like any other change of the user's.
    void Mp_SoundChanged(int volume, bool muted);
    void Toolbar1_ButtonClick(int Button);

    // A display size chosen by the user (toolbar, keys, dialog): the engine,
    // the setting, the toolbar and an open configuration dialog all follow.
    void setScale(int size);
    // F and F11: full screen, or back to the size used before it.
    void toggleFullScreen();

    // Toolbar on top (as its Visible property says), engine area below it.
    // Does not change whether the toolbar is to be shown; reads it.
    void verticalLayout();
    // Normal or maximised. Full screen is the engine's display size and
    // stays as it is underneath.
    void setMaximized(bool maximized);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QWidget *engineArea() const;
    void placeEngineArea(int leftTw, int topTw, int widthTw, int heightTw);
    // Quits as the main window's shutdown does, ending the program.
    void closeAllAndQuit();
    void flip(int Button);
    // True in the normal state, shown, and not covering the whole screen
    // (a size or place the window system is still changing).
    bool ownGeometry() const;
    void placeFirstTime();
    // The toolbar and the engine's shown panels stay whole.
    void keepMinimumSize();

    MediaEngine *Mp_ = nullptr;
    // Shown since it was loaded.
    bool placed_ = false;
    // Activation has given the window its size since it was loaded: from
    // then on a new size is the user's.
    bool sized_ = false;
    // The display size to return to when full screen is left with F.
    int windowedScale_ = 0;
    // Outer size in twips outside full screen: full screen is the engine's
    // way of showing the picture, not a size of this window.
    QSize ownSizeTw_;
    // Client area's left and top in twips, once the user's.
    QPoint ownPosTw_{INT_MIN, INT_MIN};
};
