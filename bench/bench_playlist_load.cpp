// Loads a list of 32766 entries into the playlist window, as opening a list
// does, and reports the time and the memory it took.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <malloc.h>
#include <vector>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "engine/media_engine.h"
#include "playlist/frm_playlist.h"
#include "playlist/playlist_file.h"

namespace {

// Plays nothing: the benchmark is about the list, not the engine.
class SilentEngine : public MediaEngine
{
public:
    explicit SilentEngine(QWidget *parent) : area_(new QWidget(parent)) {}
    bool set(Disp, const QVariant &) override { return true; }
    std::optional<QVariant> get(Disp) override { return std::nullopt; }
    bool call(Disp) override { return true; }
    QWidget *widget() override { return area_; }

private:
    QWidget *area_;
};

double heapMiB()
{
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

double rssMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// An extended M3U list as players write them: a comment line, then a path
// relative to the list, about 70 characters long.
QString writeList(const QString &folder)
{
    const QString path = folder + QStringLiteral("/grande liste.m3u");
    QByteArray bytes = "#EXTM3U\r\n";
    for (int i = 0; i < playlist::kMaxEntries; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "#EXTINF:215,Artiste " + QByteArray::number(i / 120) + " - Titre " + n + "\r\n";
        bytes += "Artiste " + QByteArray::number(i / 120) + "\\Album " + QByteArray::number(i / 12) +
                 "\\" + n + " - Titre du morceau n\xC2\xB0 " + n + ".mp3\r\n";
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    // On a desktop when there is one, else offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever the program keeps per user stays in this run's folder.
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    QApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    const QString list = writeList(home.path());
    if (list.isEmpty()) {
        std::fprintf(stderr, "cannot write the test list\n");
        return 1;
    }
    App app([](QWidget *parent) { return new SilentEngine(parent); });
    app.AppFolder = home.path();
    app.Solvane();  // start-up: every window loaded, as in the program
    frmPlayList *window = app.playList();
    // A first small list: the video window is shown once, as it is before
    // any list in a running program. Its first showing is not the list's cost.
    QFile small(home.path() + QStringLiteral("/petite.m3u"));
    if (small.open(QIODevice::WriteOnly))
        small.write("/m/a.mp3\r\n");
    small.close();
    window->loadList(small.fileName());
    QCoreApplication::processEvents();

    std::vector<double> readMs, loadMs, showMs;
    double heapGrowth = 0, rssGrowth = 0;
    for (int run = 0; run < runs; ++run) {
        window->Clear();
        window->show();
        QCoreApplication::processEvents();
        // The first load starts from memory handed back to the system, as
        // the program's first load does.
        if (run == 0)
            malloc_trim(0);
        const double heap0 = heapMiB(), rss0 = rssMiB();

        // The whole load: read, fill the list box, select, hide, play.
        QElapsedTimer t;
        t.start();
        window->loadList(list);
        loadMs.push_back(t.nsecsElapsed() / 1e6);

        // Showing it again lays out and paints the 32766 rows.
        t.restart();
        window->show();
        window->LstPlay->scrollToBottom();
        window->repaint();
        QCoreApplication::processEvents();
        showMs.push_back(t.nsecsElapsed() / 1e6);

        if (window->ListCount() != playlist::kMaxEntries) {
            std::fprintf(stderr, "loaded %d entries\n", window->ListCount());
            return 1;
        }
        if (run == 0) {
            malloc_trim(0);
            heapGrowth = heapMiB() - heap0;
            rssGrowth = rssMiB() - rss0;
        }

        // The reader alone, for comparison.
        t.restart();
        if (!playlist::readPlaylist(list))
            return 1;
        readMs.push_back(t.nsecsElapsed() / 1e6);
    }

    const auto report = [](const char *what, const std::vector<double> &ms) {
        const std::vector<double> later(ms.begin() + 1, ms.end());
        std::printf("%-28s first %7.1f ms", what, ms.front());
        if (!later.empty())
            std::printf("   later: median %7.1f ms, min %7.1f ms", median(later),
                        *std::min_element(later.begin(), later.end()));
        std::printf("\n");
    };
    std::vector<double> totalMs;
    for (size_t i = 0; i < loadMs.size(); ++i)
        totalMs.push_back(loadMs[i] + showMs[i]);
    std::printf("list: %d entries, %lld bytes, platform %s, %d runs\n", window->ListCount(),
                QFile(list).size(), qPrintable(QGuiApplication::platformName()), runs);
    report("read and parse only", readMs);
    report("loadList (read + fill)", loadMs);
    report("show and paint the list", showMs);
    report("total (load + show)", totalMs);
    std::printf("memory growth, first load: heap %.1f MiB, resident %.1f MiB\n", heapGrowth, rssGrowth);
    return 0;
}
