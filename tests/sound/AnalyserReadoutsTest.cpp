// The analyser's measuring beyond the design: RMS and peak of the selection in dBFS, the
// read-outs as text for the clipboard, and playing the selection with the cursor stopping at
// its end; all without a window.
#include "platform/ui/Surface.h"
#include "sound/AnalyserReadoutText.h"
#include "sound/SelectionLevels.h"
#include "sound/SoundAnalyser.h"
#include "sound/StretchPlayback.h"
#include "sound/ViewSpan.h"
#include "platform/audio/WaveFile.h"

#include <cmath>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/WavFixture.h"

namespace {
using G = Selection::Graph;
using E = Selection::Event;

class AnalyserReadoutsTest : public ::testing::Test {
protected:
    AnalyserReadoutsTest() : analyser({upper, upperCopy, lower, lowerCopy, window, Qt::white, Qt::lightGray, Qt::black}) {}
    void Drag(G graph, double from, double to)
    {
        analyser.Mouse(graph, E::Press, Qt::LeftButton, from);
        analyser.Mouse(graph, E::Move, Qt::LeftButton, to);
        analyser.Mouse(graph, E::Release, Qt::NoButton, to);
    }
    std::optional<SignalLevels> Measure(const QString& path, SampleFormat format, int channels, int channel)
    {
        WaveFile f;
        EXPECT_EQ(f.Open(path), 0);
        const int frameBytes = format.bytes() * channels;
        return MeasureLevels(f, 45, (f.Length() - 44) / frameBytes, format, channels, channel);
    }
    TempDir dir;
    Surface upper, upperCopy, lower, lowerCopy, window;
    SoundAnalyser analyser;
};
}

TEST_F(AnalyserReadoutsTest, FullScaleSineIsZeroDbfsInEveryFormat)
{
    // 1000 Hz at 48 kHz: 48 samples a cycle, 100 whole cycles.
    const std::vector<int> sine16 = Sine(4800, 1, 1000, 32767, 48000);
    const QString p16 = dir.file("s16.wav");
    ASSERT_TRUE(WriteWav(p16, {.sampleRate = 48000}, sine16));
    auto l16 = Measure(p16, SampleFormat(16), 1, 0);
    ASSERT_TRUE(l16);
    EXPECT_NEAR(l16->RmsDbfs(), 0.0, 0.1);
    EXPECT_NEAR(l16->PeakDbfs(), 0.0, 0.1);

    const QString p24 = dir.file("s24.wav");
    // 24-bit at half scale: -6.02 dB both.
    std::vector<int> half24;
    for (int i = 0; i < 4800; ++i) half24.push_back(int(std::lround(4194304 * std::sin(2 * M_PI * i / 48))));
    ASSERT_TRUE(WriteWav(p24, {.sampleRate = 48000, .bitsPerSample = 24}, half24));
    auto l24 = Measure(p24, SampleFormat(24), 1, 0);
    ASSERT_TRUE(l24);
    EXPECT_NEAR(l24->RmsDbfs(), -6.02, 0.01);
    EXPECT_NEAR(l24->PeakDbfs(), -6.02, 0.01);

    // 8-bit full scale (1..255 around 128) and silence.
    const QString p8 = dir.file("s8.wav");
    ASSERT_TRUE(WriteWav(p8, {.sampleRate = 48000, .bitsPerSample = 8}, Sine(4800, 1, 1000, 127, 48000, 8)));
    auto l8 = Measure(p8, SampleFormat(8), 1, 0);
    ASSERT_TRUE(l8);
    EXPECT_NEAR(l8->RmsDbfs(), 20 * std::log10(127.0 / 128), 0.1);
    const QString quiet = dir.file("quiet.wav");
    ASSERT_TRUE(WriteWav(quiet, {}, std::vector<int>(100, 0)));
    auto silent = Measure(quiet, SampleFormat(16), 1, 0);
    ASSERT_TRUE(silent);
    EXPECT_TRUE(std::isinf(silent->RmsDbfs()));
    EXPECT_EQ(LevelsCaption(*silent), "RMS -inf dBFS  Peak -inf dBFS");

    // A square wave at full scale: RMS = peak, +3.01 dB on the sine-referenced scale.
    std::vector<int> square;
    for (int i = 0; i < 480; ++i) square.push_back(i % 48 < 24 ? 32767 : -32767);
    const QString sq = dir.file("square.wav");
    ASSERT_TRUE(WriteWav(sq, {}, square));
    auto ls = Measure(sq, SampleFormat(16), 1, 0);
    EXPECT_NEAR(ls->RmsDbfs(), 3.01, 0.01);
    EXPECT_EQ(LevelsCaption(*ls), "RMS 3.01 dBFS  Peak 0.00 dBFS");
}

TEST_F(AnalyserReadoutsTest, LevelsFollowTheSelectionAndItsChannel)
{
    // Left at full scale, right at a tenth (-20 dB): each graph's selection measures its own.
    std::vector<int> s;
    for (int i = 0; i < 4410; ++i) {
        const double v = std::sin(2 * M_PI * 441 * i / 44100);
        s.push_back(int(std::lround(32767 * v)));
        s.push_back(int(std::lround(3277 * v)));
    }
    const QString path = dir.file("two.wav");
    ASSERT_TRUE(WriteWav(path, {.channels = 2}, s));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    EXPECT_TRUE(analyser.levelsCaption().isEmpty());
    Drag(G::Upper, 0, 10000);
    ASSERT_TRUE(analyser.levels());
    EXPECT_NEAR(analyser.levels()->RmsDbfs(), 0.0, 0.1);
    EXPECT_EQ(analyser.levels()->frames, analyser.selection().readout().selectedSamples.toLongLong());
    Drag(G::Lower, 0, 10000);
    EXPECT_NEAR(analyser.levels()->RmsDbfs(), -20.0, 0.1);
    // A plain press selects no frames: no levels.
    analyser.Mouse(G::Upper, E::Press, Qt::LeftButton, 500);
    analyser.Mouse(G::Upper, E::Release, Qt::NoButton, 500);
    EXPECT_FALSE(analyser.levels());
    // Cancel measures the whole view.
    analyser.Cancel();
    ASSERT_TRUE(analyser.levels());
    EXPECT_EQ(analyser.levels()->frames, 4410);
}

TEST_F(AnalyserReadoutsTest, CopiedTextHoldsEveryReadout)
{
    const QString path = dir.file("tone.wav");
    ASSERT_TRUE(WriteWav(path, {.sampleRate = 8000}, Sine(8000, 1, 400, 16384, 8000)));
    EXPECT_TRUE(AnalyserReadoutText(analyser, "0").isEmpty());   // nothing loaded
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    analyser.ShowAmplitudeBoxClicked(true);
    Drag(G::Upper, 0, 5030);
    analyser.CycleCountChanged("200");
    const SelectionReadout& r = analyser.selection().readout();
    const QString text = AnalyserReadoutText(analyser, "200");
    const QStringList lines = text.split('\n');
    EXPECT_EQ(lines[0], "Filename: " + path);
    EXPECT_EQ(lines[1], "Sampling rate (Hz):\t8000");
    EXPECT_EQ(lines[2], "No. of Samples:\t8000");
    EXPECT_EQ(lines[3], "Mono\t16 bits");
    EXPECT_EQ(lines[4], "Audio Duration: 1sec");
    EXPECT_EQ(lines[5], "Selected Audio Clip:");
    EXPECT_EQ(lines[6], "\tInitial\tFinal\tInterval");
    EXPECT_EQ(lines[7], "Time(s)\t" + r.initialTime + "\t" + r.finalTime + "\t" + r.intervalTime);
    EXPECT_EQ(lines[8], "Samples\t" + r.initialSample + "\t" + r.finalSample + "\t" + r.selectedSamples);
    EXPECT_EQ(lines[9], "No. of cycles:\t200");
    EXPECT_EQ(lines[10], analyser.selection().period().periodCaption());
    EXPECT_EQ(lines[11], analyser.selection().period().frequencyCaption());
    EXPECT_TRUE(lines[11].startsWith("Freq. f  = 399.9")) << qPrintable(lines[11]);
    EXPECT_EQ(lines[12], "Amp. = " + analyser.amplitude().caption() + "\t(Average amplitude)");
    EXPECT_EQ(lines[13], analyser.levelsCaption());
    EXPECT_TRUE(lines[13].startsWith("RMS -6.0"));
    EXPECT_TRUE(text.endsWith('\n'));
}

TEST(StretchPlayback, TheStretchIsTheSelectionOrFromTheCursor)
{
    SelectionReadout r;
    // No selection: from the play cursor to the end; a cursor at the end starts over.
    auto s = StretchPlayback::Of(r, 44100, 1.5, 4.0);
    EXPECT_DOUBLE_EQ(s.start, 1.5);
    EXPECT_DOUBLE_EQ(s.end, 4.0);
    EXPECT_DOUBLE_EQ(StretchPlayback::Of(r, 44100, 4.0, 4.0).start, 0);
    // Frames 22050..44099 selected: half a second to one second.
    r.initialSample = "22050";
    r.selectedSamples = "22050";
    s = StretchPlayback::Of(r, 44100, 3.0, 4.0);
    EXPECT_DOUBLE_EQ(s.start, 0.5);
    EXPECT_DOUBLE_EQ(s.end, 1.0);
    // A plain press: from it to the end.
    r.selectedSamples = "0";
    s = StretchPlayback::Of(r, 44100, 3.0, 4.0);
    EXPECT_DOUBLE_EQ(s.start, 0.5);
    EXPECT_DOUBLE_EQ(s.end, 4.0);
}

TEST(StretchPlayback, PlaybackStopsOrRewindsAtTheEnd)
{
    StretchPlayback p;
    p.Start({0.5, 1.0}, false);
    EXPECT_EQ(p.At(0.6), StretchPlayback::Step::Go);
    EXPECT_EQ(p.At(0.9999), StretchPlayback::Step::Go);
    EXPECT_EQ(p.At(1.016), StretchPlayback::Step::Stop);
    EXPECT_FALSE(p.active());
    EXPECT_EQ(p.At(1.5), StretchPlayback::Step::Go);   // over: the player is left alone
    p.Start({0.5, 1.0}, true);
    EXPECT_EQ(p.At(1.0), StretchPlayback::Step::Rewind);
    EXPECT_TRUE(p.looping());
    p.End();
    EXPECT_EQ(p.At(2.0), StretchPlayback::Step::Go);
    p.Start({1.0, 1.0}, false);   // nothing to play
    EXPECT_FALSE(p.active());
}

TEST_F(AnalyserReadoutsTest, TheCursorStopsAtTheSelectionsEnd)
{
    // 2 s at 10 kHz on a graph of 10060 units; frames 5000..9999 (0.5 s to 1 s) selected.
    const QString path = dir.file("two-seconds.wav");
    ASSERT_TRUE(WriteWav(path, {.sampleRate = 10000}, std::vector<int>(20000, 100)));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    analyser.PlayerFocus(true, 2.0);
    const double w = analyser.cursor().cursorScale() * 2.0;
    Drag(G::Upper, w / 4, w / 2);
    const SelectionReadout& r = analyser.selection().readout();
    const double start = r.initialSample.toDouble() / 10000;
    const double end = (r.initialSample.toDouble() + r.selectedSamples.toDouble()) / 10000;
    const StretchPlayback::Stretch s = analyser.StartStretch(false);
    EXPECT_DOUBLE_EQ(s.start, start);
    EXPECT_DOUBLE_EQ(s.end, end);
    // The cursor's maths: x from the time as Text1 shows it (to the millisecond).
    auto xOf = [&] { return int(std::floor(analyser.cursor().Text1().toDouble() * w / 2.0)); };
    EXPECT_NEAR(analyser.cursor().Text1().toDouble(), start, 0.0005);   // placed at the start
    EXPECT_EQ(analyser.cursor().x(), xOf());
    EXPECT_EQ(analyser.CursorTick(0.75), StretchPlayback::Step::Go);
    EXPECT_EQ(analyser.cursor().Text1(), ".750");
    // The tick after the end: the cursor stands exactly at the end, with its time and sample.
    EXPECT_EQ(analyser.CursorTick(end + 0.012), StretchPlayback::Step::Stop);
    EXPECT_NEAR(analyser.cursor().Text1().toDouble(), end, 0.0005);
    EXPECT_EQ(analyser.cursor().x(), xOf());
    EXPECT_LE(analyser.cursor().x(), int(std::floor((end + 0.0005) * w / 2.0)));
    EXPECT_EQ(analyser.cursor().Text2(), QString::number(int(std::floor(analyser.cursor().Text1().toDouble() * 10000))));
    // Looping goes back to the start.
    analyser.StartStretch(true);
    EXPECT_EQ(analyser.CursorTick(end), StretchPlayback::Step::Rewind);
    EXPECT_NEAR(analyser.cursor().Text1().toDouble(), start, 0.0005);
    EXPECT_EQ(analyser.cursor().x(), xOf());
}

TEST(ViewSpan, WheelZoomKeepsTheFrameUnderThePointer)
{
    const std::int64_t total = 441000;
    const double W = 10060;
    ViewSpan v{0, total};
    for (double x : {0.0, 1234.5, 5030.0, 9999.0, 10060.0}) {
        ViewSpan z = v;
        const double under = v.FrameAt(x, W);
        // In ten notches and out again: the frame under the pointer moves by less than one
        // frame of the coarsest view it passed through per step (whole frames).
        for (int i = 0; i < 10; ++i) {
            const ViewSpan next = z.ZoomedAbout(x, W, 1.25, total);
            EXPECT_LT(next.frames, z.frames);
            EXPECT_NEAR(next.FrameAt(x, W), z.FrameAt(x, W), 1.0) << x << " step " << i;
            z = next;
        }
        EXPECT_NEAR(z.FrameAt(x, W), under, 10.0) << x;
        EXPECT_NEAR(double(z.frames), total / std::pow(1.25, 10), 10.0);
    }
    // Held to the sound: zooming out at the end stops at the whole sound, in at the minimum.
    ViewSpan end{total - 1000, 1000};
    const ViewSpan out = end.ZoomedAbout(W, W, 0.001, total);
    EXPECT_EQ(out, (ViewSpan{0, total}));
    ViewSpan tiny{5000, 20};
    EXPECT_EQ(tiny.ZoomedAbout(0, W, 100, total).frames, ViewSpan::MinimumFrames);
    EXPECT_EQ(tiny.ZoomedAbout(0, W, 100, total).start, 5000);
    // Scrolling stops at both ends.
    EXPECT_EQ(end.ScrolledBy(5000, total), (ViewSpan{total - 1000, 1000}));
    EXPECT_EQ(end.ScrolledBy(-total, total), (ViewSpan{0, 1000}));
}

TEST_F(AnalyserReadoutsTest, WheelZoomAndScrollRedrawTheViewWithItsReadouts)
{
    // Ten seconds at 8 kHz, each sample its own index (mod 32768): the table's rows tell which
    // frames were drawn.
    std::vector<int> s;
    for (int i = 0; i < 80000; ++i) s.push_back(i % 30000);
    const QString path = dir.file("ramp.wav");
    ASSERT_TRUE(WriteWav(path, {.sampleRate = 8000}, s));
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    const double W = upper.ScaleWidth();
    const double x = 2515;   // a quarter across
    const double under = analyser.viewSpan().FrameAt(x, W);
    ASSERT_TRUE(analyser.WheelZoom(x, 12));   // 1.25^12 = 14.6 times
    const ViewSpan v = analyser.viewSpan();
    EXPECT_NEAR(v.frames, 80000 / std::pow(1.25, 12), 1);
    EXPECT_NEAR(v.FrameAt(x, W), under, 1.0);
    const SoundDocument& d = analyser.document();
    EXPECT_EQ(d.viewStartSample(), v.start);
    EXPECT_EQ(d.viewStartTicks(), std::llround(v.start * 100000.0 / 8000));
    EXPECT_DOUBLE_EQ(d.viewDuration(), v.frames / 8000.0);
    // Drawn sample by sample now (5466 frames < 10060 units): row 0 is the view's first frame.
    EXPECT_EQ(analyser.layout().ampTag, "0");
    EXPECT_FLOAT_EQ(analyser.columnTable().At(0, 0), float(v.start % 30000) / 32768.0f);

    // A selection in the zoomed view measures frames of the sound.
    Drag(G::Upper, 0, W / 2);
    EXPECT_EQ(analyser.selection().readout().initialSample.toLongLong(), v.start);

    ASSERT_TRUE(analyser.WheelScroll(3));   // three tenths of the view on
    EXPECT_EQ(analyser.viewSpan().start, v.start + 3 * (v.frames / 10));
    EXPECT_EQ(analyser.viewSpan().frames, v.frames);
    EXPECT_FALSE(analyser.WheelScroll(0));
    // Out all the way: the whole sound, drawn one sample per unit, and its envelope follows.
    ASSERT_TRUE(analyser.WheelZoom(x, -40));
    EXPECT_EQ(analyser.viewSpan(), (ViewSpan{0, 80000}));
    EXPECT_EQ(analyser.layout().ampTag, "1");
    EXPECT_TRUE(analyser.envelopeTask().running());
    EXPECT_FALSE(analyser.WheelZoom(x, -1));   // nothing further out
}
