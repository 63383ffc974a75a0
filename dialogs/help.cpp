#include "dialogs/help.h"

#include <QPointer>

#include "app/app_context.h"
#include "dialogs/help_path.h"
#include "dialogs/help_window.h"

namespace {
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
    }
    window->showContents(helpFilePath(app.AppFolder));
    window->show();
    window->raise();
    window->activateWindow();
}
