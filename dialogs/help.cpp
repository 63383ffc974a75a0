#include "dialogs/help.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include "app/app_context.h"
#include "dialogs/help_path.h"
#include "dialogs/help_window.h"
#include "dialogs/window_centre.h"

namespace {
// A comfortable reading size, beside the main window, smaller where the
// screen has fewer logical pixels (a scaled desktop).
void fitAndPlace(QWidget *w, App &app) { fitBesideMainWindow(w, app, QSize(720, 560), QSize(360, 260)); }

// One help window per program; it goes with the program's state.
QPointer<HelpWindow> window;
const App *owner = nullptr;
}  // namespace

HelpWindow *helpWindow(App &app) { return owner == &app ? window.data() : nullptr; }

void showHelp(App &app)
{
    if (!window || owner != &app) {
        delete window.data();
        window = new HelpWindow;
        owner = &app;
        QObject::connect(&app, &QObject::destroyed, window.data(), [] {
            delete window.data();
            owner = nullptr;
        });
        fitAndPlace(window, app);
    }
    window->showContents(helpFilePath(app.AppFolder));
    window->show();
    window->raise();
    window->activateWindow();
}
