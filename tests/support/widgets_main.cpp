#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

// Windows run offscreen, and whatever the program keeps per user lands in a
// folder of this run, never in the tester's own.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/run").toUtf8());
    QDir().mkpath(home.path() + "/run");
    QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
