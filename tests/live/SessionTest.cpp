// The live tool's session: the held sound, what an update puts into the views, Freeze, a lost
// input, and the values and WAV it hands on.
#include "live/LiveSession.h"
#include "live/SoundHistory.h"
#include "live/SpectrogramImage.h"
#include "platform/audio/SaveWaveHeader.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "text/LoadText.h"
#include "LiveSignals.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace live;

namespace {
QByteArray Bytes(const std::vector<std::int16_t>& s)
{
    QByteArray b;
    for (std::int16_t v : s) {
        b.append(char(std::uint16_t(v) & 0xff));
        b.append(char(std::uint16_t(v) >> 8));
    }
    return b;
}

// The first number in a text.
double NumberIn(const QString& text)
{
    const auto m = QRegularExpression("-?[0-9]+\\.?[0-9]*").match(text);
    return m.hasMatch() ? m.captured(0).toDouble() : -1e9;
}

class LiveSessionTest : public ::testing::Test {
protected:
    void SetUp() override { text::SetLanguage(text::Language::English); }
};
}

TEST(SoundHistory, HoldsTheNewestSamplesAndNumbersThemFromTheFirst)
{
    SoundHistory h(100, 2);   // 200 samples held
    std::vector<std::int16_t> s(150);
    for (int i = 0; i < 150; ++i) s[std::size_t(i)] = std::int16_t(i);
    h.append(s.data(), 150);
    h.append(s.data(), 150);   // 300 added: 100..299 held
    EXPECT_EQ(h.total(), 300);
    EXPECT_EQ(h.held(), 200);
    EXPECT_EQ(h.oldest(), 100);
    const auto got = h.samples(90, 20);   // 90..99 are gone
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(got[0], 100 % 150);
    EXPECT_EQ(h.samples(295, 50).size(), 5u);
    const std::vector<float> last = h.latest(3);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_FLOAT_EQ(last[2], 149 / 32768.0f);
    float padded[4];
    SoundHistory fresh(100, 2);
    fresh.append(s.data(), 2);
    fresh.latestInto(padded, 4);
    EXPECT_EQ(padded[0], 0.0f);
    EXPECT_EQ(padded[1], 0.0f);
    EXPECT_FLOAT_EQ(padded[3], 1 / 32768.0f);
    // A block longer than the ring keeps its newest samples.
    std::vector<std::int16_t> big(450, 7);
    big.back() = 9;
    fresh.append(big.data(), 450);
    EXPECT_EQ(fresh.total(), 452);
    EXPECT_EQ(fresh.held(), 200);
    EXPECT_EQ(fresh.samples(451, 1)[0], 9);
}

TEST_F(LiveSessionTest, BytesInOddPiecesMakeTheSameSamples)
{
    const std::vector<std::int16_t> s = ToPcm(SineWave(5000, 440, 44100, 0.9));
    const QByteArray b = Bytes(s);
    LiveSession session;
    for (qsizetype at = 0; at < b.size(); at += 333) session.feed(b.constData() + at, std::min<qsizetype>(333, b.size() - at));
    ASSERT_EQ(session.history().total(), 5000);
    EXPECT_EQ(session.history().samples(0, 5000), s);
}

TEST_F(LiveSessionTest, ScopeSweepsStayInPhaseAndCursorsMeasureAPeriod)
{
    LiveSession session;
    LiveSettings s = session.settings();
    s.msPerDivision = 0.5;   // 5 ms sweep
    s.cursorMs[0] = 1;
    s.cursorMs[1] = 1 + 1000.0 / 440;
    session.setSettings(s);
    const std::vector<std::int16_t> x = ToPcm(SineWave(44100, 440, 44100, 0.25));
    std::vector<double> firstValues;
    for (int at = 0; at + 1470 <= 44100; at += 1470) {   // 30 updates a second
        session.feedSamples(x.data() + at, 1470);
        session.update(LiveView::Scope);
        const auto& v = session.view();
        ASSERT_TRUE(v.triggered);
        ASSERT_FALSE(v.trace.empty());
        EXPECT_NEAR(v.trace.back().x(), 5, 0.03);
        EXPECT_LT(v.trace.front().x(), 1000 / 44100.0 + 1e-9);
        // The sweep starts at the rising zero crossing: the first point sits within one
        // sample's rise of zero, going up.
        EXPECT_GE(v.trace.front().y(), -0.001);
        EXPECT_LT(v.trace.front().y(), 0.25 * 2 * std::numbers::pi * 440 / 44100 + 0.001);
        EXPECT_GT(v.trace[1].y(), v.trace[0].y());
    }
    const auto& v = session.view();
    EXPECT_EQ(v.range, 0.5);   // auto range: the smallest step above the wave's 0.25
    EXPECT_EQ(v.triggerText, LoadText(779));
    // One period between the cursors: 1/Δt reads 440 Hz, the amplitude difference 0.
    EXPECT_TRUE(v.cursorText.contains("1/Δt = 440.00 Hz")) << qPrintable(v.cursorText);
    EXPECT_NEAR(NumberIn(v.cursorText.mid(v.cursorText.indexOf("ΔA"))), 0, 0.002) << qPrintable(v.cursorText);
}

TEST_F(LiveSessionTest, NormalWaitsAndSingleHoldsItsSweep)
{
    LiveSession session;
    LiveSettings s = session.settings();
    s.triggerMode = TriggerMode::Normal;
    s.trigger.level = 0.5;
    session.setSettings(s);
    const std::vector<std::int16_t> quiet = ToPcm(SineWave(4410, 440, 44100, 0.2));
    session.feedSamples(quiet.data(), 4410);
    session.update(LiveView::Scope);
    EXPECT_TRUE(session.view().trace.empty());   // never reaches the level: nothing swept
    s.triggerMode = TriggerMode::Single;
    session.setSettings(s);
    const std::vector<std::int16_t> loud = ToPcm(SineWave(4410, 440, 44100, 0.8));
    session.feedSamples(loud.data(), 4410);
    session.update(LiveView::Scope);
    ASSERT_FALSE(session.view().trace.empty());
    const auto held = session.view().trace;
    const std::vector<std::int16_t> other = ToPcm(SineWave(4410, 1000, 44100, 0.9));
    session.feedSamples(other.data(), 4410);
    session.update(LiveView::Scope);
    EXPECT_EQ(session.view().trace, held);
    EXPECT_EQ(session.view().triggerText, LoadText(768));
    session.armSingle();
    session.update(LiveView::Scope);
    EXPECT_NE(session.view().trace, held);
}

TEST_F(LiveSessionTest, SpectrumViewReadsPeakAndFundamentalAndHoldsPeaks)
{
    LiveSession session;
    LiveSettings s = session.settings();
    s.peakHold = true;
    session.setSettings(s);
    const std::vector<std::int16_t> a = ToPcm(SineWave(20000, 440, 44100, 0.5));
    session.feedSamples(a.data(), 20000);
    session.update(LiveView::Spectrum);
    const auto& v = session.view();
    EXPECT_NEAR(NumberIn(v.peakText), 440, 0.05) << qPrintable(v.peakText);
    EXPECT_TRUE(v.peakText.contains("(-6.0 dBFS)")) << qPrintable(v.peakText);
    EXPECT_NEAR(NumberIn(v.fundamentalText), 440, 0.2) << qPrintable(v.fundamentalText);
    const std::size_t line440 = std::size_t(std::lround(440 / v.spectrum.binHz));
    const std::vector<std::int16_t> b = ToPcm(SineWave(20000, 1000, 44100, 0.5));
    session.feedSamples(b.data(), 20000);
    session.update(LiveView::Spectrum);
    EXPECT_NEAR(NumberIn(v.peakText), 1000, 0.05);
    ASSERT_EQ(v.held.size(), v.spectrum.amplitude.size());
    EXPECT_GT(v.held[line440], 0.3f);                       // 440 Hz is held
    EXPECT_LT(v.spectrum.amplitude[line440], 0.01f);        // though gone from the spectrum
    s.fftSize = 3000;   // not a power of two: the next one up
    session.setSettings(s);
    EXPECT_EQ(session.settings().fftSize, 4096);
    EXPECT_TRUE(session.view().held.empty());               // a new size starts the hold again
}

TEST_F(LiveSessionTest, LevelShowsClippingForTwoSecondsAndStopwatchReadsOnFromItsInput)
{
    LiveSession session;
    const std::vector<std::int16_t> full = ToPcm(SineWave(4410, 1000, 44100, 1.0));
    session.feedSamples(full.data(), 4410);
    session.update(LiveView::Level);
    EXPECT_EQ(session.view().peakLevelText, "Peak: 0.0 dBFS");
    EXPECT_EQ(session.view().rmsText, "RMS: -3.0 dBFS");
    EXPECT_EQ(session.view().clipText, LoadText(763));
    const std::vector<std::int16_t> soft = ToPcm(SineWave(44100, 1000, 44100, 0.09));
    session.feedSamples(soft.data(), 44100);
    session.update(LiveView::Level);
    EXPECT_EQ(session.view().clipText, LoadText(763));       // 1 s after: still shown
    EXPECT_EQ(session.view().rmsText, "RMS: -23.9 dBFS");
    session.feedSamples(soft.data(), 44100);
    session.update(LiveView::Level);
    EXPECT_TRUE(session.view().clipText.isEmpty());          // 2.1 s after: gone
    // The full-scale burst started the stopwatch (threshold -20 dBFS); the soft tone stays
    // below the threshold, so the watch runs on.
    EXPECT_EQ(session.view().stopwatchState, LoadText(767));
}

TEST_F(LiveSessionTest, FreezeKeepsTheMomentAndOpenInAnalyserWritesIt)
{
    TempDir dir;
    LiveSession session;
    EXPECT_FALSE(session.writeHeld(dir.file("empty.wav")).ok);   // nothing held yet
    EXPECT_FALSE(QFile::exists(dir.file("empty.wav")));
    const std::vector<std::int16_t> a = ToPcm(SineWave(44100, 440, 44100, 0.5));
    session.feedSamples(a.data(), 44100);
    session.update(LiveView::Spectrum);
    session.setFrozen(true);
    const QString peak = session.view().peakText;
    const std::vector<std::int16_t> b = ToPcm(SineWave(44100, 2000, 44100, 0.5));
    session.feedSamples(b.data(), 44100);
    session.update(LiveView::Spectrum);
    EXPECT_EQ(session.view().peakText, peak);
    EXPECT_EQ(session.history().total(), 44100);
    EXPECT_EQ(session.view().status, "Frozen, 1.0 s held");

    const QString path = dir.file("held.wav");
    ASSERT_TRUE(session.writeHeld(path).ok);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 44 + 2 * 44100);
    EXPECT_EQ(bytes.mid(44), Bytes(a));
    if (ToolAvailable("soxi")) {
        const ToolResult r = RunTool("soxi", {path});
        EXPECT_TRUE(r.output.contains("44100")) << qPrintable(r.output);
        EXPECT_TRUE(r.output.contains("44100 samples")) << qPrintable(r.output);
    }
    // A folder that cannot be written: the message says so.
    const Outcome bad = session.writeHeld(dir.file("no/such/folder/x.wav"));
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.message.startsWith("The held sound could not be written")) << qPrintable(bad.message);
}

TEST_F(LiveSessionTest, ALostInputKeepsWhatIsHeldAndSaysSo)
{
    LiveSession session;
    const std::vector<std::int16_t> a = ToPcm(SineWave(22050, 440, 44100, 0.5));
    session.feedSamples(a.data(), 22050);
    const Outcome o = session.inputLost("the input device went away");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "The sound input was lost (the input device went away). The window keeps the sound it holds.");
    EXPECT_EQ(o.title, "Live Sound");
    EXPECT_EQ(session.history().total(), 22050);
    session.update(LiveView::Spectrum);
    EXPECT_EQ(session.view().status, "Input lost, 0.5 s held");
    EXPECT_NEAR(NumberIn(session.view().peakText), 440, 0.1);
    session.inputStarted();
    session.update(LiveView::Spectrum);
    EXPECT_EQ(session.view().status, "Listening, 0.5 s held");
}

TEST_F(LiveSessionTest, CopyValuesGivesReadoutsAndTheSpectrumAsTabSeparatedText)
{
    LiveSession session;
    LiveSettings s = session.settings();
    s.fftSize = 1024;
    session.setSettings(s);
    const std::vector<std::int16_t> a = ToPcm(SineWave(8000, 1000, 44100, 0.5));
    session.feedSamples(a.data(), 8000);
    session.update(LiveView::Level);   // the spectrum view never shown: copied all the same
    const QStringList lines = session.copyValues().split('\n');
    const QString peakLine = QStringLiteral("Spectrum\tPeak: 1000.00 Hz (-6.0 dBFS)");
    const QString firstLines = lines.mid(0, 8).join(QStringLiteral(" | "));
    EXPECT_TRUE(lines.contains(peakLine)) << qPrintable(firstLines);
    EXPECT_TRUE(lines.contains("Level\tRMS: -9.0 dBFS"));
    const qsizetype head = lines.indexOf("Frequency (Hz)\tMagnitude (dBFS)");
    ASSERT_GE(head, 0);
    EXPECT_EQ(lines.size() - head - 2, 513);   // lines 0..512, and the final empty one
    const QStringList line23 = lines[head + 1 + 23].split('\t');
    ASSERT_EQ(line23.size(), 2);
    EXPECT_NEAR(line23[0].toDouble(), 23 * 44100 / 1024.0, 0.001);
    EXPECT_NEAR(line23[1].toDouble(), -6.0, 1.5);   // 1000 Hz lies 0.22 line from line 23
}

TEST(SpectrogramImage, ColumnsRollInAtTheRightAndATonePaintsItsRow)
{
    SpectrogramImage g;
    SpectrogramImage::Settings s;
    s.columns = 40;
    s.rows = 100;
    s.toHz = 5000;   // 50 Hz a row
    s.floorDb = -100;
    g.configure(s);
    const std::vector<float> silence(2048, 0.0f);
    const std::vector<float> tone = SineWave(2048, 1025, 44100, 0.5);
    for (int i = 0; i < 10; ++i) g.addColumn(ComputeSpectrum(silence.data(), 2048, 44100, WindowShape::Hann));
    g.addColumn(ComputeSpectrum(tone.data(), 2048, 44100, WindowShape::Hann));
    const QImage p = g.picture();
    ASSERT_EQ(p.size(), QSize(40, 100));
    const int row = 100 - 1 - 1025 / 50;   // the row holding 1000..1050 Hz
    EXPECT_EQ(p.pixel(39, 50), ScaleColour(ColourScale::Heat, 0));       // newest column, no tone there
    EXPECT_GT(qRed(p.pixel(39, row)), 150);                              // the tone, -6 dB: bright
    EXPECT_EQ(p.pixel(38, row), ScaleColour(ColourScale::Heat, 0));      // silence before it
    // A new size keeps the picture; a new range starts again.
    s.columns = 80;
    g.configure(s);
    EXPECT_GT(qRed(g.picture().pixel(79, row)), 150);
    EXPECT_EQ(g.columnsAdded(), 11);
    s.toHz = 2000;
    g.configure(s);
    EXPECT_EQ(g.columnsAdded(), 0);
    EXPECT_EQ(g.picture().pixel(79, row), ScaleColour(ColourScale::Heat, 0));
    EXPECT_EQ(ScaleColour(ColourScale::Grey, 1), qRgb(255, 255, 255));
}
