// The main of every test executable: an application object on the offscreen platform (unless the
// caller chose another) with a screen of a classroom display's size, 1600x1000 at 96 dpi, rather
// than the platform's own 800x800 (smaller than the tool windows' design sizes); a private
// settings folder; and GoogleTest.
#include <QFile>
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
    // Settings written by tests never reach the user's own configuration, nor another test
    // process running at the same time: each process has a configuration folder of its own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QString screens = config.filePath("offscreen-screens.json");
        QFile file(screens);
        if (file.open(QIODevice::WriteOnly))
            file.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1600, "height": 1000,)"
                       R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("KIVRA_LANG"))
        qputenv("KIVRA_LANG", "en");

    TestApplication app(argc, argv);
    TestApplication::setApplicationName("KIVRA");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
