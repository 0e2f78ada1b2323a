// Times the video player's frame steps on a 1280 x 720, 30 fps H.264 clip with key frames 2 s
// apart (made by ffmpeg for the run), beside what the decoder costs, run by run in turn: one
// frame read in sequence, and a seek with the decoding of a whole key-frame group.
// Goals: a step back past a key frame costs at most one group's decoding; a step on costs about
// one frame's decoding; steps back among frames already decoded cost nearly nothing.
#include "BenchRun.h"

#include "platform/video/ClipReader.h"
#include "player/FrameStepper.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

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
    bench::Begin("Frame steps, 1280x720 H.264, 30 fps, key frames every 2 s");

    // References: the decoder alone, on a reader kept open.
    std::unique_ptr<ClipReader> reader = ClipReader::OpenVideo(clip);
    if (!reader) {
        std::printf("the clip cannot be decoded: no figures\n");
        return 0;
    }
    int groupRun = 0;
    const bench::Step group{[&] { reader->seek(2.0 + 2.0 * (groupRun++ % 5) + 0.5); },
                            [&] {
                                for (int i = 0; i < 60; ++i) reader->read();
                            },
                            {}};
    // Ten frames read on from the last (the decoder's threads work ahead, so a single frame's
    // time says little): the reader starts again at 2 s every 20 runs.
    int inSequence = 0;
    const bench::Step tenFrames{[&] {
                                    if (inSequence++ % 20 == 0) reader->seek(2.0);
                                },
                                [&] {
                                    for (int i = 0; i < 10; ++i) reader->read();
                                },
                                {}};

    // A step back from a key frame the stepper has not decoded, as the window calls it once the
    // player has paused on it. The window keeps its stepper: the key frames come in an order
    // that never finds the wanted one among the frames kept from the step before.
    FrameStepper stepper(ClipReader::OpenVideo(clip));
    const double keys[] = {10.0, 4.0, 8.0, 2.0, 6.0};
    int keyRun = 0;
    const bench::Step backPastKey{{}, [&] { stepper.Step(keys[keyRun++ % 5], -1); }, {}};
    // The first step of a window: the clip opened, the key frame's own frame found and the step
    // back, all in the timing.
    const bench::Step openFindBack{{}, [&] {
                                       const double key = keys[keyRun++ % 5];
                                       FrameStepper fresh(ClipReader::OpenVideo(clip));
                                       fresh.FrameAt(key);
                                       fresh.Step(key, -1);
                                   },
                                   {}};
    // Ten steps on from the frame on show, then ten back among the frames decoded.
    FrameStepper warm(ClipReader::OpenVideo(clip));
    double at = warm.FrameAt(2.0)->time;
    const bench::Step stepsOn{{}, [&] {
                                  for (int i = 0; i < 10; ++i) at = warm.Step(at, +1)->time;
                              },
                              {}};
    const bench::Step stepsBackKept{{}, [&] {
                                        for (int i = 0; i < 10; ++i) at = warm.Step(at, -1)->time;
                                    },
                                    {}};

    const bench::Comparison back = bench::Alternate(15, backPastKey, group);
    const bench::Comparison cold = bench::Alternate(9, openFindBack, group);
    const bench::Comparison on = bench::Alternate(9, stepsOn, tenFrames);
    const bench::Comparison kept = bench::Alternate(9, stepsBackKept, tenFrames);

    bool met = bench::PrintComparison("step back past a key frame not decoded yet", back,
                                      "reference: seek + one key-frame group (60)", 1.0);
    std::printf("  %-44s %9.2f ms (best %.2f), %.2f x the group (no goal)\n",
                "first step: open + frame at the key + back", cold.candidate.median(), cold.candidate.best(),
                cold.ratio());
    met = bench::PrintComparison("ten steps on from the frame on show", on,
                                 "reference: ten frames decoded in sequence", 1.5) && met;
    met = bench::PrintComparison("ten steps back among frames already decoded", kept,
                                 "reference: ten frames decoded in sequence", 0.25) && met;
    bench::End();
    (void)met;
    return 0;
}
