#include "dialogs/window_centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/app_context.h"
#include "platform/form.h"
#include "playback/window_place.h"

namespace {
constexpr int kTitleAllowancePx = 32;
constexpr int kGap = 8;

// The main window and the playlist under it, as shown; the free area of
// their screen; and the frame a window not framed yet will get.
struct Surroundings
{
    QRect avoid;
    QRect screen;
    QMargins frame{0, kTitleAllowancePx, 0, 0};
};

Surroundings surroundings(const QWidget *window, App &app)
{
    Surroundings s;
    const QWidget *main = app.forms.loaded(FormId::Solvane);
    const bool shown = main && main->isVisible();
    if (shown) {
        s.avoid = main->frameGeometry();
        if (const QWidget *list = app.forms.loaded(FormId::frmPlayList); list && list->isVisible())
            s.avoid |= list->frameGeometry();
        // Not framed yet, a window gets a frame as the main window's.
        const QRect outer = main->frameGeometry(), inner = main->geometry();
        if (outer != inner)
            s.frame = {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                       outer.bottom() - inner.bottom()};
    }
    const QScreen *sc = shown ? main->screen() : window->screen();
    if (!sc)
        sc = QGuiApplication::primaryScreen();
    if (sc)
        s.screen = sc->availableGeometry();
    return s;
}
}  // namespace

void placeBesideMainWindow(QWidget *window, App &app)
{
    const Surroundings s = surroundings(window, app);
    if (s.screen.isEmpty())
        return;
    const bool framed = window->frameGeometry() != window->geometry();
    const QSize outer = framed ? window->frameGeometry().size() : window->size().grownBy(s.frame);
    const QPoint at = placeBeside(s.avoid, outer, s.screen);
    // A window not yet created takes the place of its frame; one already
    // created but not mapped, the place of its client area.
    const bool clientPlaced = !framed && window->testAttribute(Qt::WA_WState_Created);
    window->move(clientPlaced ? at + QPoint(s.frame.left(), s.frame.top()) : at);
}

void fitBesideMainWindow(QWidget *window, App &app, QSize preferred, QSize smallest)
{
    const Surroundings s = surroundings(window, app);
    QSize size = preferred.boundedTo(s.screen.size().shrunkBy(s.frame));
    if (!s.avoid.isEmpty()) {
        // The widest free band beside the main window, if the window can
        // keep a readable size there.
        const QRect &a = s.avoid, &sc = s.screen;
        const QSize bands[] = {{sc.right() - a.right() - kGap, sc.height()},
                               {a.left() - sc.left() - kGap, sc.height()},
                               {sc.width(), sc.bottom() - a.bottom() - kGap},
                               {sc.width(), a.top() - sc.top() - kGap}};
        QSize best;
        for (QSize band : bands) {
            const QSize fits = preferred.boundedTo(band.shrunkBy(s.frame));
            if (fits.width() >= smallest.width() && fits.height() >= smallest.height()
                && qint64(fits.width()) * fits.height() > qint64(best.width()) * best.height())
                best = fits;
        }
        if (best.isValid() && !best.isEmpty())
            size = best;
    }
    window->resize(size);
    placeBesideMainWindow(window, app);
}
