#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

namespace {
// Each test starts with an empty per-user store, whatever ran before it.
class FreshUserStore : public ::testing::EmptyTestEventListener
{
public:
    explicit FreshUserStore(QString root) : root_(std::move(root)) {}
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        const QString dir = root_ + "/config-" + QString::number(++count_) + "-" + info.name();
        qputenv("XDG_CONFIG_HOME", dir.toUtf8());
        // QSettings reads the variable once per process.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    }

private:
    QString root_;
    int count_ = 0;
};
}  // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshUserStore(home.path()));
    return RUN_ALL_TESTS();
}
