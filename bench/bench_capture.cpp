// Sequence capture of the test-pattern camera at 640 x 480 and 30 frames a second: the processor
// time of the capture path per frame (the camera's own drawing taken off), beside the time the
// ffmpeg program needs to encode the same pictures into an MJPEG AVI, the two run alternately
// round by round; the frames dropped (the goal is none). The goal: the capture path at most as
// costly as ffmpeg.
#include "BenchRun.h"
#include "capture/device/CapturePreview.h"
#include "capture/mVFW.h"
#include "platform/camera/CameraDevices.h"
#include "platform/camera/TestPatternCamera.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVideoFrame>
#include <cstdio>
#include <ctime>

namespace {
constexpr int kFps = 30;
constexpr int kSeconds = 5;
constexpr int kFrames = kFps * kSeconds;
constexpr int kRounds = 5;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The camera's own share: drawing the pattern pictures and handing them over as video frames
// (what a real camera's hardware does), as the test-pattern camera does it.
double PatternCpuPerFrame(const QString& rawPath)
{
    QFile raw(rawPath);
    raw.open(QIODevice::WriteOnly | QIODevice::Truncate);
    const QDateTime clock = QDateTime::currentDateTime();
    double drawing = 0;
    for (int i = 0; i < kFrames; ++i) {
        const double before = CpuSeconds();
        QVideoFrame frame = TestPatternCamera::Picture({640, 480}, i, clock.addMSecs(33 * i));
        drawing += CpuSeconds() - before;
        if (!frame.map(QVideoFrame::ReadOnly)) continue;
        for (int y = 0; y < frame.height(); ++y)
            raw.write(reinterpret_cast<const char*>(frame.bits(0) + y * frame.bytesPerLine(0)), frame.width() * 4);
        frame.unmap();
    }
    return drawing / kFrames;
}

// The ffmpeg program's processor time for the same pictures into an MJPEG AVI at the capture
// window's quality (85: quantiser 6, as QScaleOf gives), from its own -benchmark report.
double FfmpegCpuPerFrame(const QString& rawPath, const QString& outPath)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", {"-hide_banner", "-nostats", "-benchmark", "-y", "-f", "rawvideo",
                            "-pix_fmt", "bgra", "-s", "640x480", "-r", "30", "-i", rawPath, "-c:v",
                            "mjpeg", "-q:v", "6", "-pix_fmt", "yuvj420p", outPath});
    if (!ffmpeg.waitForFinished(120000)) return -1;
    const QString out = QString::fromLocal8Bit(ffmpeg.readAll());
    const auto m = QRegularExpression("utime=([0-9.]+)s stime=([0-9.]+)s").match(out);
    if (!m.hasMatch()) return -1;
    return (m.captured(1).toDouble() + m.captured(2).toDouble()) / kFrames;
}
struct CaptureRun {
    double cpuPerFrameMs = 0;
    std::int64_t frames = 0;
    std::int64_t dropped = 0;
};

// One sequence capture of kSeconds into the capture file, with the preview shown.
CaptureRun Capture(CaptureSession& session)
{
    CaptureParameters p;
    p.requestMicroSecPerFrame = 1000000 / kFps;
    p.limitEnabled = 1;
    p.timeLimit = kSeconds;
    capCaptureSetSetup(&session, p);
    capPreviewRate(&session, 66);
    capPreview(&session, true);
    const double before = CpuSeconds();
    capCaptureSequence(&session);
    const double cpu = CpuSeconds() - before;
    CaptureSession::Status status;
    capGetStatus(&session, status);
    CaptureRun run;
    run.frames = std::max<std::int64_t>(1, status.currentVideoFrame);
    run.dropped = status.currentVideoFramesDropped;
    run.cpuPerFrameMs = cpu / double(run.frames) * 1e3;
    return run;
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
    capFileSetCaptureFile(&session, dir.filePath("capture.avi"));
    if (!capDriverConnect(&session, int(cameras::List().size()) - 1)) {
        std::printf("the test-pattern camera did not connect\n");
        return 1;
    }
    const QString raw = dir.filePath("frames.bgra");
    const double pattern = PatternCpuPerFrame(raw) * 1e3;

    bench::Begin("sequence capture, test-pattern camera 640x480 at 30 fps, MJPEG quality 85, CPU per frame");
    std::vector<CaptureRun> runs;
    bool ffmpegRan = true;
    bench::Step candidate;
    candidate.timed = [&] {
        runs.push_back(Capture(session));
        return runs.back().cpuPerFrameMs - pattern;
    };
    bench::Step reference;
    reference.timed = [&] {
        const double ms = FfmpegCpuPerFrame(raw, dir.filePath("ffmpeg.avi")) * 1e3;
        ffmpegRan = ffmpegRan && ms > 0;
        return ms;
    };
    const bench::Comparison c = bench::Alternate(kRounds, candidate, reference);
    capDriverDisconnect(&session);

    std::int64_t frames = 0, dropped = 0;
    for (const CaptureRun& r : runs) {
        frames += r.frames;
        dropped += r.dropped;
    }
    std::printf("  %d rounds of %d s; frames captured: %lld, dropped: %lld (goal 0)\n", kRounds, kSeconds,
                (long long)frames, (long long)dropped);
    std::printf("  the test-pattern camera's drawing and hand-over, taken off: %.2f ms per frame\n", pattern);
    if (!ffmpegRan) std::printf("  reference: ffmpeg did not run\n");
    bench::PrintComparison("capture path (convert, preview, encode, write)", c,
                           "ffmpeg encoding the same pictures to MJPEG AVI", 1.0);
    bench::End();
    return 0;
}
