#include "playback/frm_movie.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QShowEvent>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "app/geometry_text.h"
#include "platform/twips.h"
#include "playback/end_of_stream.h"
#include "dialogs/frm_conf.h"
#include "dialogs/help.h"
#include "playback/engine_settings.h"
#include "engine/media_engine.h"
#include "playback/movie_toolbar.h"
#include "playback/mplayer.h"
#include "playback/player_keys.h"
#include "playback/window_place.h"
#include "playlist/frm_playlist.h"

namespace {
// Frame allowances of the layout, in twips.
constexpr int kAreaLeftTw = 20;
constexpr int kWidthAllowanceTw = 160;
constexpr int kHeightAllowanceTw = 420;

// The engine's own display elements, each with its setting and its check
// button, in the order activation sets them.
struct DisplayElement
{
    qint16 Settings::*field;
    Disp id;
    int button;
};
// The same order as applySettings gives them to the engine.
constexpr DisplayElement kDisplayElements[] = {
    {&Settings::CfgShowControls, Disp::ShowControls, 11},
    {&Settings::CfgShowAudioControls, Disp::ShowAudioControls, 12},
    {&Settings::CfgShowPositionControls, Disp::ShowPositionControls, 13},
    {&Settings::CfgShowDisplay, Disp::ShowDisplay, 14},
    {&Settings::CfgShowStatusBar, Disp::ShowStatusBar, 15},
};
constexpr int kStatusBarButton = 15;
constexpr int kFirstScaleButton = 5;  // buttons 5-9 are display sizes 0-4
constexpr int kFullScreen = 3;
constexpr int kTitleAllowancePx = 32;
constexpr int kGapPx = 8;
}  // namespace

frmMovie::frmMovie(App &app) : Form(app, Id)
{
    setClientSizeTw(7365, 6300);
    Toolbar1 = new MovieToolbar(this);
    Mp_ = app.createEngine(this);
    // A new engine starts from the program's settings, not its own defaults.
    if (Mp_)
        applySettings(*Mp_, app.settings);
    if (QWidget *area = engineArea())
        area->setGeometry(twips::toPx(kAreaLeftTw), 0, qMax(0, twips::toPx(twWidth() - kWidthAllowanceTw)),
                          area->height());
    connect(Mp_, &MediaEngine::EndOfStream, this, &frmMovie::Mp_EndOfStream);
    // What the end of stream will play, asked shortly before it comes, so
    // that the engine can go on into it without a break.
    if (Mp_)
        Mp_->nextFile = [this] {
            App &a = this->app();
            auto *list = static_cast<frmPlayList *>(a.forms.loaded(FormId::frmPlayList));
            const int next = list ? nextEntryAfterEnd(a.settings, list->ListIndex(), list->ListCount()) : -1;
            return next < 0 ? QString() : list->List(next);
        };
    connect(Mp_, &MediaEngine::DisplaySizeChanged, this, &frmMovie::Mp_DisplaySizeChanged);
    connect(Mp_, &MediaEngine::SoundChanged, this, &frmMovie::Mp_SoundChanged);
    connect(Toolbar1, &MovieToolbar::ButtonClick, this, &frmMovie::Toolbar1_ButtonClick);
    installPlayerKeys(this);
}

QWidget *frmMovie::engineArea() const { return Mp_ ? Mp_->widget() : nullptr; }

void frmMovie::Form_Load()
{
    const Settings &s = app().settings;
    Toolbar1->setShown(s.CfgShowToolbar != 0);
    verticalLayout();
    setMaximized(s.CfgFitToScreen != 0);
}

void frmMovie::Form_Activate()
{
    App &a = app();
    const Settings &s = a.settings;

    // A maximised, minimised or full-screen window keeps its size.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        if (const auto w = textToNumber(a.VideoW))
            setTwWidth(float(*w));
        if (const auto h = textToNumber(a.VideoH))
            setTwHeight(float(*h));
        sized_ = true;
    }

    Toolbar1->setShown(s.CfgShowToolbar != 0);
    verticalLayout();

    Toolbar1->setValue(s.CfgDisplaySize + kFirstScaleButton, 1);
    for (const DisplayElement &e : kDisplayElements)
        Toolbar1->setValue(e.button, s.*e.field);
    if (Mp_)
        applySettings(*Mp_, s);

    setMaximized(s.CfgFitToScreen != 0);
}

void frmMovie::Form_Resize()
{
    if (!(windowState() & Qt::WindowFullScreen))
        ownSizeTw_ = QSize(twWidth(), twHeight());
    QWidget *area = engineArea();
    if (!area || !Toolbar1)
        return;
    const int left = twips::toPx(kAreaLeftTw);
    const int w = qBound(0, twips::toPx(twWidth() - kWidthAllowanceTw), qMax(0, width() - left));
    area->setGeometry(left, area->y(), w, area->height());
    verticalLayout();
}

void frmMovie::verticalLayout()
{
    QWidget *area = engineArea();
    if (!area || !Toolbar1)
        return;
    const bool fullScreen = windowState() & Qt::WindowFullScreen;
    if (!fullScreen)
        keepMinimumSize();
    int top = 0;
    int heightTw = 0;
    // Full screen shows the picture alone, whatever the toolbar's property.
    if (Toolbar1->shown() && !fullScreen) {
        Toolbar1->setGeometry(0, 0, width(), twips::toPx(MovieToolbar::kHeightTw));
        Toolbar1->show();
        const int toolbarTw = twips::fromPx(Toolbar1->height());
        top = twips::toPx(toolbarTw);
        heightTw = twHeight() - toolbarTw - kHeightAllowanceTw;
    } else {
        Toolbar1->hide();
        Toolbar1->setGeometry(0, 0, width(), 0);
        heightTw = twHeight() - kHeightAllowanceTw;
    }
    // The allowances stand for a window frame. Maximised and full-screen
    // windows have next to none, so there the area fills the client area
    // instead of leaving a strip; otherwise it never reaches past it.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        area->setGeometry(0, top, width(), qMax(0, height() - top));
        return;
    }
    const int h = qBound(0, twips::toPx(heightTw), qMax(0, height() - top));
    area->setGeometry(area->x(), top, area->width(), h);
}

void frmMovie::keepMinimumSize()
{
    const QSize area = engineArea()->minimumSizeHint().expandedTo(QSize(0, 0));
    const bool toolbar = Toolbar1->shown();
    const int width = qMax(toolbar ? Toolbar1->sizeHint().width() : 0, area.width() + twips::toPx(kWidthAllowanceTw));
    const int height = (toolbar ? twips::toPx(MovieToolbar::kHeightTw) : 0) + area.height() + twips::toPx(kHeightAllowanceTw);
    if (minimumSize() != QSize(width, height))
        setMinimumSize(width, height);
}

void frmMovie::setMaximized(bool maximized)
{
    const Qt::WindowStates keep = windowState() & Qt::WindowFullScreen;
    const Qt::WindowStates state = keep | (maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    if (state != windowState())
        setWindowState(state);
}

void frmMovie::Form_Unload()
{
    if (Mp_)
        Mp_->call(Disp::Stop);
    // Never shown since it was loaded (the main window's clock reloads a
    // closed window, hidden, at its design size): it holds no size or place
    // of the user's, and those it had stay.
    if (!placed_)
        return;
    const bool fullScreen = (windowState() & Qt::WindowFullScreen) && ownSizeTw_.isValid();
    app().VideoW = numberToText(float(fullScreen ? ownSizeTw_.width() : twWidth()));
    app().VideoH = numberToText(float(fullScreen ? ownSizeTw_.height() : twHeight()));
    if (ownPosTw_.x() != INT_MIN) {
        app().VideoX = numberToText(ownPosTw_.x());
        app().VideoY = numberToText(ownPosTw_.y());
    }
}

bool frmMovie::ownGeometry() const
{
    if (!isVisible() || windowState() != Qt::WindowNoState)
        return false;
    // Until the window manager has framed it, its outer size and place are
    // not known yet (platforms without frames, or that never tell, aside).
    const QString platform = QGuiApplication::platformName();
    if (windowHandle() && windowHandle()->frameMargins().isNull() && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal") && placementReadBack())
        return false;
    const QScreen *sc = screen();
    return !sc || !frameGeometry().contains(sc->geometry());
}

void frmMovie::resizeEvent(QResizeEvent *e)
{
    Form::resizeEvent(e);
    // A size the user gives the window is the one it keeps: activation
    // imposes VideoW and VideoH, so they follow at once.
    if (sized_ && ownGeometry()) {
        app().VideoW = numberToText(float(twWidth()));
        app().VideoH = numberToText(float(twHeight()));
    }
}

void frmMovie::moveEvent(QMoveEvent *e)
{
    Form::moveEvent(e);
    // The place is the client area's: a window not framed yet can only be
    // put back by it, the frame's size being unknown until it is mapped.
    if (placed_ && ownGeometry() && placementReadBack())
        ownPosTw_ = QPoint(twips::fromPx(geometry().x()), twips::fromPx(geometry().y()));
}

void frmMovie::showEvent(QShowEvent *e)
{
    Form::showEvent(e);
    if (placed_ || e->spontaneous())
        return;
    placed_ = true;
    placeFirstTime();
}

void frmMovie::placeFirstTime()
{
    App &a = app();
    // Where it was last in this run, or in the last run.
    const auto x = textToNumber(a.VideoX), y = textToNumber(a.VideoY);
    // A place on a screen that is no longer there is no place.
    if (x && y && QGuiApplication::screenAt(QPoint(twips::toPx(*x) + 40, twips::toPx(*y) + 20))) {
        setGeometry(QRect(QPoint(twips::toPx(*x), twips::toPx(*y)), size()));
        ownPosTw_ = QPoint(int(*x), int(*y));
        return;
    }
    const QScreen *sc = screen();
    if (!sc)
        return;
    // Beside the main window and the playlist docked under it, covering
    // neither. Before the window reaches the screen its frame may not be
    // known yet: twips sizes carry the usual one.
    QRect avoid, mainOnly;
    if (const Form *main = a.forms.loaded(FormId::Solvane)) {
        avoid = main->frameGeometry();
        // Not framed yet: the window manager will put its title bar above
        // the client, pushing it and the playlist under it down.
        if (avoid == main->geometry())
            avoid.adjust(0, 0, 0, kTitleAllowancePx);
        const Form *list = a.forms.loaded(FormId::frmPlayList);
        mainOnly = list && list->isVisible() ? QRect() : avoid;
        if (list)
            avoid |= QRect(QPoint(avoid.left(), avoid.bottom() + 1), list->frameGeometry().size());
    }
    QSize outer(twips::toPx(twWidth()), twips::toPx(twHeight()));
    const QRect avail = sc->availableGeometry();
    QPoint at = placeBeside(avoid, outer, avail);
    // A small screen (a scaled desktop) has no room beside the main window:
    // lower, the window fits under it and leaves it in view.
    // With the playlist hidden, only the main window counts there.
    if (QRect(at, outer).intersects(avoid)) {
        const QRect &keep = mainOnly.isEmpty() ? avoid : mainOnly;
        // Room for a title bar more, should the window system place the window by its client area.
        const int below = avail.bottom() - keep.bottom() - kGapPx - kTitleAllowancePx;
        if (below >= minimumHeight() + kTitleAllowancePx && below < outer.height()) {
            outer.setHeight(below);
            a.VideoH = numberToText(float(twips::fromPx(below)));
            setTwHeight(twips::fromPx(below));
            at = placeBeside(keep, outer, avail);
        }
    }
    // Created but not framed yet, the window is placed by its client area:
    // its title bar goes above the place.
    // The main window's own title bar tells its height where it is framed.
    int title = 0;
    if (frameGeometry() == geometry() && testAttribute(Qt::WA_WState_Created)) {
        const Form *main = avoid.isEmpty() ? nullptr : a.forms.loaded(FormId::Solvane);
        const bool mainFramed = main && main->geometry() != main->frameGeometry();
        title = mainFramed ? main->geometry().top() - main->frameGeometry().top() : kTitleAllowancePx;
    }
    move(at + QPoint(0, title));
}

void frmMovie::Mp_DisplaySizeChanged(int size)
{
    if (size < 0 || size > 4)
        return;
    app().settings.CfgDisplaySize = qint16(size);
    if (size != kFullScreen)
        windowedScale_ = size;
    Toolbar1->setValue(size + kFirstScaleButton, 1);
    if (auto *conf = static_cast<FrmConf *>(app().forms.loaded(FormId::FrmConf)))
        conf->showScale(size);
}

void frmMovie::setScale(int size)
{
    if (size < 0 || size > 4)
        return;
    if (Mp_)
        Mp_->set(Disp::DisplaySize, qint32(size));
    Mp_DisplaySizeChanged(size);
}

void frmMovie::toggleFullScreen()
{
    const int now = app().settings.CfgDisplaySize;
    if (now >= 0 && now <= 4 && now != kFullScreen)
        windowedScale_ = now;
    setScale(now == kFullScreen ? windowedScale_ : kFullScreen);
}

void frmMovie::Mp_SoundChanged(int volume, bool muted)
{
    setSound(app(), qint16(qBound(-32768, volume, 32767)), muted);
}

void frmMovie::Mp_EndOfStream(int Result)
{
    App &a = app();
    frmPlayList *list = a.playList();
    const int index = list ? list->ListIndex() : -1;
    const int count = list ? list->ListCount() : 0;

    switch (endOfStreamAction(a.settings, index, count, Result)) {
    case EndOfStreamAction::Quit:
        closeAllAndQuit();
        break;
    case EndOfStreamAction::PlayNext: {
        if (list)
            list->setListIndex(index + 1);
        const QString text = list ? list->selectedText() : QString();
        if (Mp_) {
            applySettings(*Mp_, a.settings);
            Mp_->set(Disp::FileName, text);
        }
        a.CurrentFile = text;
        if (!a.CurrentFile.isEmpty())
            PlaySelected(a);
        break;
    }
    case EndOfStreamAction::LoopToStart: {
        if (list)
            list->setListIndex(0);
        const QString text = list ? list->selectedText() : QString();
        if (Mp_) {
            applySettings(*Mp_, a.settings);
            Mp_->set(Disp::FileName, text);
        }
        a.CurrentFile = text;
        // The notification icon's menu brings the main window back.
        if (list)
            list->hide();
        if (auto *main = static_cast<FrmSolvane *>(a.forms.loaded(FormId::Solvane)))
            main->hideToTray();
        PlaySelected(a);
        break;
    }
    case EndOfStreamAction::Nothing:
        break;
    }
}

void frmMovie::closeAllAndQuit()
{
    App &a = app();
    a.forms.unload(FormId::frmPlayList);
    // The main window's shutdown closes this window and ends the program.
    a.forms.unload(FormId::Solvane);
    if (!a.hasEnded()) {
        a.forms.unload(FormId::frmMovie);
        a.endProgram();
    }
}

void frmMovie::flip(int Button)
{
    const DisplayElement &e = kDisplayElements[Button - kDisplayElements[0].button];
    if (!Mp_)
        return;
    // The engine's own state decides, not the button's.
    if (const auto shown = Mp_->get(e.id))
        Mp_->set(e.id, !shown->toBool());
}

void frmMovie::Toolbar1_ButtonClick(int Button)
{
    App &a = app();
    switch (Button) {
    case 1:
        if (Mp_) {
            applySettings(*Mp_, a.settings);
            Mp_->call(Disp::Play);
        }
        break;
    case 2:
        if (Mp_)
            Mp_->call(Disp::Pause);
        break;
    case 3:
        if (Mp_)
            Mp_->call(Disp::Stop);
        Unload();
        break;
    case 5: case 6: case 7: case 8: case 9:
        setScale(Button - kFirstScaleButton);
        break;
    case 11: case 12: case 13: case 14:
        flip(Button);
        break;
    case kStatusBarButton:
        flip(Button);
        // The setting follows, so the choice outlives the next activation.
        a.settings.CfgShowStatusBar = a.settings.CfgShowStatusBar == 0 ? 1 : 0;
        break;
    case 17:
        a.forms.showModeless(FormId::FrmConf);
        break;
    case 18:
        closeAllAndQuit();
        break;
    case 19:
        a.forms.showModeless(FormId::FrmApropos);
        break;
    case 20:
        showHelp(a);
        break;
    default:  // separators and unknown buttons
        break;
    }
}
