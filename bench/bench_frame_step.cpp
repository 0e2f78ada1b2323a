// Times the video player's frame steps on a 1280 x 720, 30 fps H.264 clip with key frames 2 s
// apart (made by ffmpeg for the run), beside what the decoder costs in the same run: one frame
// read in sequence, and a seek with the decoding of a whole key-frame group.
// Goals: a step on costs about one frame's decoding; a step that needs a seek costs at most one
// group's decoding; steps back among frames already decoded cost nearly nothing.
#include "platform/video/VideoFrameReader.h"
#include "player/FrameStepper.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of one call, median of runs.
double Time(int runs, const std::function<void()>& once)
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = Clock::now();
        once();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return Median(ms);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath("hd.mp4");
    const int made = QProcess::execute("ffmpeg", {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                                  "testsrc2=size=1280x720:rate=30:duration=12", "-c:v", "libx264",
                                                  "-g", "60", "-keyint_min", "60", "-sc_threshold", "0",
                                                  "-pix_fmt", "yuv420p", clip});
    if (made != 0) {
        std::printf("ffmpeg could not make the clip: no figures\n");
        return 0;
    }

    // Reference: the decoder alone.
    auto reader = VideoFrameReader::Open(clip);
    reader->seek(0);
    const double sequential = Time(60, [&] { reader->read(); });
    double position = 2.0;
    const double group = Time(9, [&] {
        reader->seek(position);
        for (int i = 0; i < 60; ++i) reader->read();
        position += 0.9;
    });

    // The stepper: on from a frame just decoded, back among frames decoded, back past a key frame.
    FrameStepper stepper(VideoFrameReader::Open(clip));
    double at = stepper.FrameAt(3.5)->time;
    const double on = Time(40, [&] { at = stepper.Step(at, +1)->time; });
    const double backKept = Time(40, [&] { at = stepper.Step(at, -1)->time; });
    double from = 6.0;
    const double backCold = Time(5, [&] {
        FrameStepper fresh(VideoFrameReader::Open(clip));
        const double key = fresh.FrameAt(from)->time;
        fresh.Step(key, -1);
        from += 2.0;
    });
    double cold = 1.9;
    const double firstStep = Time(9, [&] {
        FrameStepper fresh(VideoFrameReader::Open(clip));
        fresh.Step(cold, +1);
        cold += 0.9;
    });

    std::printf("1280x720 H.264, 30 fps, key frames every 2 s (median ms)\n");
    std::printf("  reference: one frame decoded in sequence          %8.2f ms\n", sequential);
    std::printf("  reference: seek + one key-frame group (60 frames) %8.2f ms\n", group);
    std::printf("  step on from the frame on show                    %8.2f ms\n", on);
    std::printf("  step back among frames already decoded            %8.3f ms\n", backKept);
    std::printf("  step back past a key frame (fresh clip)           %8.2f ms\n", backCold);
    std::printf("  first step at a new position (fresh clip)         %8.2f ms\n", firstStep);
    return 0;
}
