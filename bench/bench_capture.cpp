// Sequence capture of the test-pattern camera at 640 x 480 and 30 frames a second for 10 seconds:
// the frames dropped (the goal is none) and the processor time per frame, beside the time the
// ffmpeg program needs to encode the same pictures into an MJPEG AVI, measured in the same run.
#include "capture/device/CapturePreview.h"
#include "capture/mVFW.h"
#include "platform/camera/CameraDevices.h"
#include "platform/camera/TestPattern.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {
constexpr int kFps = 30;
constexpr int kSeconds = 10;
constexpr int kFrames = kFps * kSeconds;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The camera's own share: drawing the pattern pictures and handing them over as video frames is
// what a real camera's hardware does.
double PatternCpuPerFrame(const QString& rawPath)
{
    QFile raw(rawPath);
    raw.open(QIODevice::WriteOnly | QIODevice::Truncate);
    const QDateTime clock = QDateTime::currentDateTime();
    double drawing = 0;
    for (int i = 0; i < kFrames; ++i) {
        const double before = CpuSeconds();
        const QImage picture = testpattern::Frame({640, 480}, i, clock.addMSecs(33 * i));
        drawing += CpuSeconds() - before;
        raw.write(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
    }
    return drawing / kFrames;
}

// The ffmpeg program's processor time for the same pictures into an MJPEG AVI at the capture
// window's quality (85: quantiser 7), from its own -benchmark report.
double FfmpegCpuPerFrame(const QString& rawPath, const QString& outPath)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", {"-hide_banner", "-nostats", "-benchmark", "-y", "-f", "rawvideo",
                            "-pix_fmt", "bgra", "-s", "640x480", "-r", "30", "-i", rawPath, "-c:v",
                            "mjpeg", "-q:v", "7", "-pix_fmt", "yuvj420p", outPath});
    if (!ffmpeg.waitForFinished(120000)) return -1;
    const QString out = QString::fromLocal8Bit(ffmpeg.readAll());
    const auto m = QRegularExpression("utime=([0-9.]+)s stime=([0-9.]+)s").match(out);
    if (!m.hasMatch()) return -1;
    return (m.captured(1).toDouble() + m.captured(2).toDouble()) / kFrames;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KIVRA_VIRTUAL_DEVICES", "1");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    CaptureSession session;
    CapturePreview preview(&session);
    preview.resize(640, 480);
    preview.show();
    const CapWnd window = &session;
    capFileSetCaptureFile(window, dir.filePath("capture.avi"));
    if (!capDriverConnect(window, int(cameras::List().size()) - 1)) {
        std::printf("the test-pattern camera did not connect\n");
        return 1;
    }
    capPreviewRate(window, 66);
    capPreview(window, true);
    CaptureParameters p;
    p.requestMicroSecPerFrame = 1000000 / kFps;
    p.limitEnabled = 1;
    p.timeLimit = kSeconds;
    capCaptureSetSetup(window, p);

    const double before = CpuSeconds();
    capCaptureSequence(window);
    const double capture = CpuSeconds() - before;
    CaptureSession::Status status;
    capGetStatus(window, status);
    capDriverDisconnect(window);
    const std::int64_t frames = std::max<std::int64_t>(1, status.currentVideoFrame);

    const QString raw = dir.filePath("frames.bgra");
    const double pattern = PatternCpuPerFrame(raw);
    const double ffmpeg = FfmpegCpuPerFrame(raw, dir.filePath("ffmpeg.avi"));

    std::printf("sequence capture, test-pattern camera 640x480 at %d fps for %d s, MJPEG quality 85:\n",
                kFps, kSeconds);
    std::printf("  frames captured: %lld, dropped: %lld (goal 0)\n", (long long)status.currentVideoFrame,
                (long long)status.currentVideoFramesDropped);
    std::printf("  CPU per frame, whole capture:                 %6.2f ms\n", capture / frames * 1e3);
    std::printf("    of which the test-pattern camera drawing:  %6.2f ms\n", pattern * 1e3);
    std::printf("    the capture path (convert, preview, encode, write): %6.2f ms\n",
                (capture / frames - pattern) * 1e3);
    if (ffmpeg > 0)
        std::printf("  reference: ffmpeg encoding the same %d pictures to MJPEG AVI: %6.2f ms per frame\n",
                    kFrames, ffmpeg * 1e3);
    else
        std::printf("  reference: ffmpeg did not run\n");
    return 0;
}
