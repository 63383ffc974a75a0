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
    // The file dialogs write their dates as French readers expect: the
    // toolkit takes the date format from the environment, once, at start.
    const QByteArray userTime = qgetenv("LC_TIME");
    qputenv("LC_TIME", "fr_FR.UTF-8");
    QApplication qapp(argc, argv);
    (void)QLocale::system().dateFormat();
    if (userTime.isNull())
        qunsetenv("LC_TIME");
    else
        qputenv("LC_TIME", userTime);
    // File types and everything else the toolkit words for itself, in French.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
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
        return 0;
    // Media keys, sound menus and the screen saver's hold; silent without a bus.
    DesktopServices desktop(app);
    return QApplication::exec();
}
