#pragma once
#include <QString>

class App;

// Starts the selected playlist entry: every way of playing something selects
// the wanted entry first and then calls this.
void PlaySelected(App &app);

// Hides the video window, titles it with `path` and shows it again, which
// brings it to the front and runs its activation (the settings reach the
// engine before the file does).
void ShowVideoWindow(App &app, const QString &path);
