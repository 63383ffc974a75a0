#include "dialogs/window_centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/app_context.h"
#include "platform/form.h"
#include "playback/window_place.h"

namespace {
constexpr int kTitleAllowancePx = 32;
}

void placeBesideMainWindow(QWidget *window, App &app)
{
    QRect avoid;
    const QWidget *main = app.forms.loaded(FormId::Solvane);
    if (main && main->isVisible()) {
        avoid = main->frameGeometry();
        if (const QWidget *list = app.forms.loaded(FormId::frmPlayList); list && list->isVisible())
            avoid |= list->frameGeometry();
    }
    const QScreen *sc = main && main->isVisible() ? main->screen() : window->screen();
    if (!sc)
        sc = QGuiApplication::primaryScreen();
    if (!sc)
        return;
    QSize outer = window->frameGeometry().size();
    if (outer == window->size())
        outer += QSize(0, kTitleAllowancePx);
    const QPoint at = placeBeside(avoid, outer, sc->availableGeometry());
    // The frame's top left corner goes there; move() places the frame.
    window->move(at);
}
