#pragma once
#include <QString>

class QWidget;

// A short note to the user in a window of its own that waits for nobody:
// playback and the other windows go on meanwhile. It goes with `parent`.
void tellUser(QWidget *parent, const QString &text);
