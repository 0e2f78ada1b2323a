// A capture that runs until it is killed: the test-pattern camera captured into the file named on
// the command line, at 15 frames a second without a time limit, its status reports on standard
// output ("510 Captured 12 frames (0 dropped) 0.800 sec."). The kill test runs it.
#include "capture/mVFW.h"
#include "platform/camera/CameraDevices.h"

#include <QApplication>
#include <cstdio>

namespace {
void Print(int number, const QString& text)
{
    std::printf("%d %s\n", number, qPrintable(text));
    std::fflush(stdout);
}
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    CaptureSession session;
    const CapWnd window = &session;
    if (!capFileSetCaptureFile(window, QString::fromLocal8Bit(argv[1]))) return 3;
    if (!capDriverConnect(window, int(cameras::List().size()) - 1)) return 4;
    CaptureParameters parameters;
    parameters.requestMicroSecPerFrame = 66667;
    capCaptureSetSetup(window, parameters);
    capSetCallbackOnStatus(window, Print);
    capSetCallbackOnError(window, [](int number, const Outcome& outcome) { Print(number, outcome.message); });
    return capCaptureSequence(window) ? 0 : 5;
}
