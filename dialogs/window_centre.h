#pragma once

class QWidget;

// Places a window that is about to be shown in the middle of its screen's
// free area. Its frame may not be known yet, so the client area is centred.
void centreOnScreen(QWidget *window);
