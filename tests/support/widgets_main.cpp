#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

// Each test starts with an empty per-user store, whatever ran before it.
struct FreshUserStore : ::testing::EmptyTestEventListener
{
    explicit FreshUserStore(QString root) : root(std::move(root)) {}
    QString root;
    int count = 0;
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        const QString dir = root + "/config-" + QString::number(++count) + "-" + info.name();
        qputenv("XDG_CONFIG_HOME", dir.toUtf8());
        // QSettings reads the variable once per process.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    }
};

// Windows run offscreen (on the display when the picture is drawn with
// OpenGL), and whatever the program keeps per user lands in a folder of this
// run, never in the tester's own.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    // (OpenGL needs windows of a display's own: run under Xvfb.)
    qputenv("QT_QPA_PLATFORM", qgetenv("SOLVANE_VIDEO") == "gl" ? "xcb" : "offscreen");
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/run").toUtf8());
    QDir(home.path()).mkdir("run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshUserStore(home.path()));
    return RUN_ALL_TESTS();
}
