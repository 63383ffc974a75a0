#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "desktop/desktop_services.h"

int main(int argc, char *argv[])
{
    // The program places and docks its windows itself, which X11 allows and
    // native Wayland does not: on a Wayland desktop XWayland comes first.
    const bool choosePlatform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (choosePlatform)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication qapp(argc, argv);
    // Programs started from here make their own choice.
    if (choosePlatform)
        qunsetenv("QT_QPA_PLATFORM");
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);

    // The standard dialogs speak French like the rest of the program.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    App app;
    app.programFile = QCoreApplication::applicationFilePath();
    app.AppFolder = QCoreApplication::applicationDirPath();
    app.arguments = QCoreApplication::arguments().mid(1);
    app.currentDir = QDir::currentPath();
    QObject::connect(&app, &App::programEnded, &qapp, [] { QCoreApplication::exit(0); });

    // Start-up is the main window's load handler.
    app.Solvane();
    if (app.hasEnded())
        return app.exitCode;
    // Media keys, sound menus and the screen saver's hold; silent without a bus.
    DesktopServices desktop(app);
    return QApplication::exec();
}
