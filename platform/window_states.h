#pragma once
#include <QMargins>
#include <optional>

class QWidget;

// Keeps a window that is about to be shown out of the task bar and the
// window switcher (EWMH skip-taskbar and skip-pager states), where the window
// system has them. Called from the window's show event, before it is mapped.
void skipTaskbarAndPager(QWidget *window);

// The frame the window manager draws around `window`, in device pixels
// (EWMH frame extents): exact where logical pixels would round a thin frame.
std::optional<QMargins> frameExtentsPx(const QWidget *window);
