// The main of every test executable: an application object on the offscreen platform (unless the
// caller chose one), a private settings folder, and GoogleTest.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef KIVRA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings written by tests never reach the user's own configuration, nor another test
    // process running at the same time: each process has a configuration folder of its own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("KIVRA_LANG"))
        qputenv("KIVRA_LANG", "en");

    TestApplication app(argc, argv);
    TestApplication::setApplicationName("KIVRA");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
