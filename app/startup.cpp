// Start-up and shutdown of the main window.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <cstdio>

#include "app/app_context.h"
#include "app/command_line.h"
#include "app/config_location.h"
#include "app/frm_solvane.h"
#include "app/geometry_text.h"
#include "app/geometry_fit.h"
#include "engine/mpv_library.h"
#include "platform/image_control.h"
#include "platform/single_instance.h"
#include "platform/tray_icon.h"
#include "platform/twips.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"

namespace {
const QString kApp = QStringLiteral("Solvane");
const QString kMainSection = QStringLiteral("config");
const QString kVideoSection = QStringLiteral("config2");
// The smallest video window a stored size may give: room for the toolbar's
// first buttons and a picture (160 x 120 pixels).
constexpr double kMinVideoWidthTw = 2400;
constexpr double kMinVideoHeightTw = 1800;
// Files of the command line that did not join the list, named on the
// standard error for whoever started the program.
void reportNotAdded(const QString &headline, const QStringList &files)
{
    if (files.isEmpty())
        return;
    QString report = QStringLiteral("Solvane : ") + headline.arg(files.size()) + QStringLiteral(" :\n");
    for (const QString &file : files)
        report += file + u'\n';
    std::fputs(report.toLocal8Bit().constData(), stderr);
}
}  // namespace

void FrmSolvane::Form_Load()
{
    App &a = app();

    // 1. One instance per user and program file: a second one ends at once.
    if (!a.programFile.isEmpty()) {
        instance_ = std::make_unique<SingleInstance>(a.programFile);
        if (instance_->anotherIsRunning()) {
            // The running one acts on our command line instead; the files it
            // did not take are listed on the standard error, and the exit
            // status says so.
            if (!a.arguments.isEmpty()) {
                const std::optional<QStringList> leftOut = instance_->handOver(a.currentDir, a.arguments);
                if (!leftOut)
                    reportNotAdded(QStringLiteral("%1 fichier(s) non transmis, le lecteur en cours n'a pas répondu"),
                                   a.arguments);
                else
                    reportNotAdded(QStringLiteral("%1 fichier(s) non ajouté(s) à la liste du lecteur en cours"),
                                   *leftOut);
                if (!leftOut || !leftOut->isEmpty())
                    a.exitCode = 1;
            }
            a.endProgram();
            return;
        }
        instance_->setCommandLineHandler(
            [this](const QString &dir, const QStringList &args) { return actOnCommandLine(args, dir); });
    }

    // 2-3. Geometry; asking the video window for its size loads it, hidden,
    // while every setting is still 0.
    a.WinX = a.store.read(kApp, kMainSection, QStringLiteral("X"), numberToText(twLeft()));
    a.WinY = a.store.read(kApp, kMainSection, QStringLiteral("Y"), numberToText(twTop()));
    if (frmMovie *movie = a.movie()) {
        a.VideoW = a.store.read(kApp, kVideoSection, QStringLiteral("VX"), QString());
        a.VideoH = a.store.read(kApp, kVideoSection, QStringLiteral("VY"), QString());
        // Sizes not stored yet default to the window's outer size. Before the
        // window manager has framed the window that would be its client size,
        // which the first activation would then shrink by a title bar: the
        // defaults wait until the frame is known.
        const auto defaults = [&a, movie] {
            if (a.VideoW.isEmpty())
                a.VideoW = numberToText(movie->twWidth());
            if (a.VideoH.isEmpty())
                a.VideoH = numberToText(movie->twHeight());
        };
        if (movie->frameKnown())
            defaults();
        else
            connect(movie, &Form::frameMeasured, this, defaults, Qt::SingleShotConnection);
    }
    // No stored place: the video window finds one beside this window.
    a.VideoX = a.store.read(kApp, kVideoSection, QStringLiteral("VPX"), QString());
    a.VideoY = a.store.read(kApp, kVideoSection, QStringLiteral("VPY"), QString());

    // 4. Both numbers, or the window stays where it was designed. A place on
    // a monitor that is gone comes back to where its title bar can be reached.
    const auto x = textToNumber(a.WinX);
    const auto y = textToNumber(a.WinY);
    if (x && y) {
        moveTw(saneTwips(*x), saneTwips(*y));
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        move(reachablePosition(frameGeometry(), screens));
    }

    // 5. Each dimension on its own, at least a usable size and at most the
    // screen's available area; the stored text follows, as every activation
    // of the video window applies it again.
    if (frmMovie *movie = a.movie()) {
        const QSize avail = movie->screen() ? movie->screen()->availableGeometry().size() : QSize(1 << 20, 1 << 20);
        if (const auto w = textToNumber(a.VideoW)) {
            const double width = dimensionWithin(*w, kMinVideoWidthTw, twips::fromPx(avail.width()));
            if (width != *w)
                a.VideoW = numberToText(width);
            movie->setTwWidth(width);
        }
        if (const auto h = textToNumber(a.VideoH)) {
            const double height = dimensionWithin(*h, kMinVideoHeightTw, twips::fromPx(avail.height()));
            if (height != *h)
                a.VideoH = numberToText(height);
            movie->setTwHeight(height);
        }
    }

    // 6. Settings file.
    a.CfgPath = settingsFilePath(a.AppFolder);
    readSettingsFile(a.CfgPath, a.settings);

    // 7. Without a notification area the window needs a task-bar entry, or
    // nothing could bring it back once it is put away.
    if (!TrayIcon::available())
        setTaskbarEntry(true);
    show();
    repaint();
    // A file to play: libmpv loads on another thread meanwhile.
    if (!a.arguments.isEmpty())
        preloadMpvLibrary();

    // 8. Notification-area icon; a panel that starts later gets it then.
    tray_ = new TrayIcon(this);
    // Every notification reports the left button, as the icon's messages always have.
    connect(tray_, &TrayIcon::notification, this, [this](int message) { Form_MouseMove(1, message); });
    if (!tray_->add(windowIcon(), trayTipText()))
        setTaskbarEntry(true);
    trayWatch_.setInterval(2000);
    connect(&trayWatch_, &QTimer::timeout, this, &FrmSolvane::checkNotificationArea);
    trayWatch_.start();

    // 9-11. The playlist window, loaded hidden and docked below.
    redock();
    for (QWidget *w : std::initializer_list<QWidget *>{imgOpen, imgPlay, imgStop, imgLock, imgList, imgSlider,
                                                       lblCaption, lblTime})
        w->hide();
    a.playList();

    // 12.
    const QStringList leftOut = actOnCommandLine(a.arguments, a.currentDir);
    reportNotAdded(QStringLiteral("%1 fichier(s) non ajouté(s) à la liste"), leftOut);
}

QStringList FrmSolvane::actOnCommandLine(const QStringList &arguments, const QString &currentDir)
{
    App &a = app();
    const CommandLine cmd = parseCommandLine(arguments, currentDir);
    frmPlayList *list = cmd.isEmpty() ? nullptr : a.playList();
    if (!list)
        return cmd.paths;
    if (cmd.firstIsList) {
        // The files after a list join it; with no list they have nothing to join.
        a.PendingListFile = cmd.paths.constFirst();
        if (!ChargeListe())
            return cmd.paths;
        return list->AddItems(cmd.paths.mid(1));
    }
    const bool wasEmpty = list->ListCount() == 0;
    const QStringList leftOut = list->AddItems(cmd.paths);
    const int added = int(cmd.paths.size() - leftOut.size());
    if (added > 0) {
        list->setListIndex(wasEmpty ? 0 : list->ListCount() - added);
        PlaySelected(a);
    }
    return leftOut;
}

bool FrmSolvane::ChargeListe()
{
    frmPlayList *list = app().playList();
    return list && list->loadList(app().PendingListFile);
}

void FrmSolvane::Form_Unload()
{
    App &a = app();
    // 1. Only a place the window system reported: elsewhere the stored one stays.
    if (placementReadBack()) {
        a.store.write(kApp, kMainSection, QStringLiteral("X"), numberToText(twLeft()));
        a.store.write(kApp, kMainSection, QStringLiteral("Y"), numberToText(twTop()));
    }
    // 2. The video window records its size as it closes.
    const bool videoSized = !a.VideoW.isEmpty() && !a.VideoH.isEmpty();
    a.forms.unload(FormId::frmMovie);
    // 3. A size is stored once one was stored or measured: a window never
    // framed would give its client size.
    if (videoSized) {
        a.store.write(kApp, kVideoSection, QStringLiteral("VX"), a.VideoW);
        a.store.write(kApp, kVideoSection, QStringLiteral("VY"), a.VideoH);
    }
    if (textToNumber(a.VideoX) && textToNumber(a.VideoY)) {
        a.store.write(kApp, kVideoSection, QStringLiteral("VPX"), a.VideoX);
        a.store.write(kApp, kVideoSection, QStringLiteral("VPY"), a.VideoY);
    }
    // 4.
    a.forms.unload(FormId::frmPlayList);
    a.forms.unload(FormId::FrmConf);
    a.forms.unload(FormId::FrmApropos);
    // 5. The settings file is not written here.
    if (tray_)
        tray_->remove();
    a.endProgram();
}
