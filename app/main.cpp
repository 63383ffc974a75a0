#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <malloc.h>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "desktop/desktop_services.h"

namespace {
// The few words of the file dialogs that the toolkit's French catalogue
// does not have yet.
class FileDialogWords : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const QByteArray key = QByteArray(context) + '|' + source;
        if (key == "QAbstractFileIconProvider|Folder")
            return QStringLiteral("Dossier");
        if (key == "QAbstractFileIconProvider|Drive")
            return QStringLiteral("Lecteur");
        if (key == "QAbstractFileIconProvider|File")
            return QStringLiteral("Fichier");
        if (key == "QAbstractFileIconProvider|%1 File")
            return QStringLiteral("Fichier %1");
        if (key == "QAbstractFileIconProvider|Shortcut")
            return QStringLiteral("Raccourci");
        return {};
    }
};
}  // namespace

int main(int argc, char *argv[])
{
    // libmpv opens the next file of a list ahead on threads of its own; with
    // one malloc arena per thread, the memory they free is never given back
    // and the process grows with every file of a long list. Two arenas keep
    // it flat, and smaller.
    mallopt(M_ARENA_MAX, 2);
    // The program places and docks its windows itself, which X11 allows and
    // native Wayland does not: on a Wayland desktop XWayland comes first.
    const bool choosePlatform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (choosePlatform)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    // The file dialogs write dates and sizes as French readers expect: the
    // toolkit takes their formats from the environment, once, at start.
    const char *formats[] = {"LC_TIME", "LC_NUMERIC", "LC_MESSAGES"};
    QByteArray userFormats[3];
    for (int i = 0; i < 3; ++i) {
        userFormats[i] = qgetenv(formats[i]);
        qputenv(formats[i], "fr_FR.UTF-8");
    }
    QApplication qapp(argc, argv);
    (void)QLocale::system().dateFormat();
    // Programs started from here make their own choices.
    if (choosePlatform)
        qunsetenv("QT_QPA_PLATFORM");
    for (int i = 0; i < 3; ++i) {
        if (userFormats[i].isNull())
            qunsetenv(formats[i]);
        else
            qputenv(formats[i], userFormats[i]);
    }
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
    FileDialogWords words;
    QApplication::installTranslator(&words);

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
