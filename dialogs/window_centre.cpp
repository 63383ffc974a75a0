#include "dialogs/window_centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget *window)
{
    const QScreen *sc = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!sc)
        return;
    const QRect avail = sc->availableGeometry();
    window->move(avail.x() + (avail.width() - window->width()) / 2,
                 avail.y() + (avail.height() - window->height()) / 2);
}
