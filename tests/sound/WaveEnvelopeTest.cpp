// The true envelope of long stretches: every unit spans the lowest to the highest sample of its
// frames, read in one pass on a worker thread, so a steady tone shows no beats.
#include "platform/ui/Surface.h"
#include "sound/SoundAnalyser.h"
#include "sound/WaveEnvelope.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/WavFixture.h"

TEST(WaveEnvelope, EachUnitHoldsTheLowestAndHighestOfItsFrames)
{
    TempDir dir;
    // Stereo 16-bit, 12 frames on 4 units of 3 frames: left i * 100 - 500, right its negative,
    // with a spike of 30000 in frame 7.
    std::vector<int> samples;
    for (int i = 0; i < 12; ++i) {
        const int left = i == 7 ? 30000 : i * 100 - 500;
        samples.push_back(left);
        samples.push_back(-left);
    }
    const QString path = dir.file("units.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, samples));
    const std::atomic_bool keepGoing{false};
    const auto env = ComputeEnvelope({.path = path, .start = 45, .frames = 12, .bitsPerSample = 16,
                                      .channels = 2, .columns = 4, .framesPerColumn = 3}, keepGoing);
    ASSERT_TRUE(env);
    const int lows[] = {-500, -200, 100, 400};
    const int highs[] = {-300, 0, 30000, 600};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(env->Low(x, 0), lows[x]) << x;
        EXPECT_EQ(env->High(x, 0), highs[x]) << x;
        EXPECT_EQ(env->Low(x, 1), -highs[x]) << x;
    }
    // A cancelled computation gives nothing.
    const std::atomic_bool stop{true};
    EXPECT_FALSE(ComputeEnvelope({.path = path, .start = 45, .frames = 12, .channels = 2, .columns = 4,
                                  .framesPerColumn = 3}, stop));
}

TEST(WaveEnvelope, ASteadyToneShowsNoBeatsOnceTheEnvelopeArrives)
{
    // 23 s of a steady 440 Hz tone: 101 frames a unit, just over one period of the tone, so the
    // quick drawing of one sample per unit shows a slow beat that is not in the sound.
    TempDir dir;
    const QString path = dir.file("steady.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(10060 * 101, 1, 440, 12000)));
    Surface upper, upperCopy, lower, lowerCopy, window;
    SoundAnalyser analyser({upper, upperCopy, lower, lowerCopy, window, Qt::white, Qt::lightGray, Qt::black});
    QSignalSpy ready(&analyser.envelopeTask(), &EnvelopeTask::done);
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    ASSERT_TRUE(analyser.envelopeTask().running());

    // The height of ink in each pixel column of the graph drawn at 670 pixels.
    auto spans = [&] {
        const QImage image = upper.ToImage(QSize(670, 256));
        std::vector<int> heights;
        for (int x = 2; x < 660; ++x) {
            int top = -1, bottom = -1;
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) == QColor(0, 0, 192)) {
                    if (top < 0) top = y;
                    bottom = y;
                }
            heights.push_back(top < 0 ? 0 : bottom - top);
        }
        return heights;
    };
    const std::vector<int> quick = spans();
    ASSERT_TRUE(ready.wait(20000));
    analyser.ApplyEnvelope(ready.first().first().value<WaveEnvelope>());
    const std::vector<int> exact = spans();
    const auto [quickLow, quickHigh] = std::minmax_element(quick.begin(), quick.end());
    const auto [exactLow, exactHigh] = std::minmax_element(exact.begin(), exact.end());
    EXPECT_LT(*quickLow, *quickHigh * 0.8);        // the false beats
    EXPECT_GE(*exactLow, *exactHigh - 2);          // one height everywhere
    // ...the tone's full swing: 2 x 12000 at 17 units a step, on 256 pixels of the box's height.
    EXPECT_NEAR(*exactHigh, 2 * 12000 / 17.0 * 256 / upper.ScaleHeight(), 2);
}

TEST(WaveEnvelope, AZoomDropsTheEnvelopeOfTheDrawingItReplaced)
{
    TempDir dir;
    const QString path = dir.file("long.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, Sine(500000, 2, 440, 8000)));
    Surface upper, upperCopy, lower, lowerCopy, window;
    SoundAnalyser analyser({upper, upperCopy, lower, lowerCopy, window, Qt::white, Qt::lightGray, Qt::black});
    QSignalSpy ready(&analyser.envelopeTask(), &EnvelopeTask::done);
    ASSERT_TRUE(analyser.Load(path, 1, 0).ok());
    ASSERT_TRUE(analyser.envelopeTask().running());
    // A short selection is drawn sample by sample: nothing is computed for it, and the whole
    // sound's envelope, dropped, never arrives.
    analyser.Mouse(Selection::Graph::Upper, Selection::Event::Press, Qt::LeftButton, 100);
    analyser.Mouse(Selection::Graph::Upper, Selection::Event::Move, Qt::LeftButton, 200);
    analyser.Mouse(Selection::Graph::Upper, Selection::Event::Release, Qt::NoButton, 200);
    ASSERT_EQ(analyser.Zoom(), SoundAnalyser::ZoomResult::Zoomed);
    EXPECT_FALSE(analyser.envelopeTask().running());
    EXPECT_FALSE(ready.wait(1500));
    // Restore draws the whole sound again, and its envelope comes.
    ASSERT_TRUE(analyser.Restore());
    EXPECT_TRUE(ready.wait(20000));
    EXPECT_EQ(ready.count(), 1);
}

TEST(WaveEnvelope, ALongStretchReadAheadInBlocksMatchesTheFramesOneByOne)
{
    // 700000 stereo frames (2.8 MB, several read-ahead blocks) of noise, and a stretch that
    // claims 20000 frames more than the file holds: those read as zeros. Each of 997 units
    // must hold the extremes of exactly its frames.
    TempDir dir;
    const int frames = 700000;
    std::vector<int> samples(std::size_t(frames) * 2);
    std::uint32_t seed = 7;
    for (int& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = int(seed >> 16) - 32768;
    }
    const QString path = dir.file("noise.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{.channels = 2}, samples));
    const EnvelopeJob job{.path = path, .start = 45, .frames = frames + 20000, .bitsPerSample = 16,
                          .channels = 2, .columns = 997, .framesPerColumn = (frames + 20000) / 997.0};
    const std::atomic_bool keepGoing{false};
    const auto env = ComputeEnvelope(job, keepGoing);
    ASSERT_TRUE(env);
    for (int x = 0; x < job.columns; ++x) {
        const std::int64_t from = std::int64_t(std::floor(x * job.framesPerColumn));
        const std::int64_t to = std::min<std::int64_t>(job.frames, std::int64_t(std::floor((x + 1) * job.framesPerColumn)));
        for (int c = 0; c < 2; ++c) {
            int low = INT16_MAX, high = INT16_MIN;
            for (std::int64_t k = from; k < to; ++k) {
                const int s = k < frames ? samples[std::size_t(2 * k + c)] : 0;
                low = std::min(low, s);
                high = std::max(high, s);
            }
            ASSERT_EQ(env->Low(x, c), low) << "unit " << x << " channel " << c;
            ASSERT_EQ(env->High(x, c), high) << "unit " << x << " channel " << c;
        }
    }
}

namespace {
// The envelope worked out frame by frame: units that cover no frame take the highest sample of
// the unit before (the middle value, zero, for the first). Frames past the file read as 0.
WaveEnvelope EnvelopeFrameByFrame(const EnvelopeJob& job, const std::vector<int>& samples, int zero)
{
    const int channels = job.channels;
    const std::int64_t held = std::int64_t(samples.size()) / channels;
    WaveEnvelope env;
    env.columns = job.columns;
    env.channels = channels;
    for (int x = 0; x < job.columns; ++x) {
        const std::int64_t from = std::int64_t(std::floor(x * job.framesPerColumn));
        const std::int64_t to = std::min<std::int64_t>(job.frames, std::int64_t(std::floor((x + 1) * job.framesPerColumn)));
        for (int c = 0; c < channels; ++c) {
            int low = INT16_MAX, high = INT16_MIN;
            for (std::int64_t k = from; k < to; ++k) {
                const int s = k < held ? samples[std::size_t(channels * k + c)] : 0;
                low = std::min(low, s);
                high = std::max(high, s);
            }
            if (from >= to) low = high = x > 0 ? env.high[env.high.size() - std::size_t(channels)] : zero;
            env.low.push_back(std::int16_t(low));
            env.high.push_back(std::int16_t(high));
        }
    }
    return env;
}

std::vector<int> Noise(std::size_t count, int bits, std::uint32_t seed)
{
    std::vector<int> samples(count);
    for (int& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = bits == 8 ? int(seed >> 24) : int(seed >> 16) - 32768;
    }
    return samples;
}
}

TEST(WaveEnvelope, PiecesReadSideBySideMatchTheFramesOneByOne)
{
    TempDir dir;
    // 8-bit stereo noise; the stretch runs 5000 frames past the end of the file (zeros, which
    // an 8-bit file does not hold: the bytes read as 0). Wide units (over 128 bytes a channel,
    // so the vector loops do the work) and narrow ones (under a frame a unit: empty units, some
    // of them at the borders of the pieces).
    const int frames = 300000;
    const std::vector<int> bytes = Noise(std::size_t(frames) * 2, 8, 11);
    const QString eight = dir.file("noise8.wav");
    ASSERT_TRUE(WriteWav(eight, WavShape{.channels = 2, .bitsPerSample = 8}, bytes));
    const std::atomic_bool keepGoing{false};
    for (const double perUnit : {(frames + 5000) / 997.0, 0.37}) {
        const int columns = perUnit < 1 ? 1000 : 997;
        for (const int pieces : {1, 2, 3, 7}) {
            const EnvelopeJob job{.path = eight, .start = 45, .frames = frames + 5000, .bitsPerSample = 8,
                                  .channels = 2, .columns = columns, .framesPerColumn = perUnit, .pieces = pieces};
            const auto env = ComputeEnvelope(job, keepGoing);
            ASSERT_TRUE(env) << pieces;
            const WaveEnvelope expected = EnvelopeFrameByFrame(job, bytes, 128);
            EXPECT_EQ(env->low, expected.low) << "per unit " << perUnit << ", pieces " << pieces;
            EXPECT_EQ(env->high, expected.high) << "per unit " << perUnit << ", pieces " << pieces;
        }
    }
    // 16-bit mono, more pieces than units: one piece a unit.
    const std::vector<int> samples = Noise(40000, 16, 5);
    const QString mono = dir.file("noise16.wav");
    ASSERT_TRUE(WriteWav(mono, WavShape{}, samples));
    const EnvelopeJob few{.path = mono, .start = 45, .frames = 40000, .columns = 3,
                          .framesPerColumn = 40000 / 3.0, .pieces = 8};
    const auto env = ComputeEnvelope(few, keepGoing);
    ASSERT_TRUE(env);
    EXPECT_EQ(env->low, EnvelopeFrameByFrame(few, samples, 0).low);
    EXPECT_EQ(env->high, EnvelopeFrameByFrame(few, samples, 0).high);
    // Cancelled, every piece stops and nothing comes.
    const std::atomic_bool stop{true};
    EXPECT_FALSE(ComputeEnvelope({.path = eight, .start = 45, .frames = frames, .bitsPerSample = 8, .channels = 2,
                                  .columns = 997, .framesPerColumn = frames / 997.0, .pieces = 3}, stop));
    // A file that is not there gives nothing, with or without threads.
    EXPECT_FALSE(ComputeEnvelope({.path = dir.file("gone.wav"), .frames = frames, .columns = 997,
                                  .framesPerColumn = frames / 997.0, .pieces = 3}, keepGoing));
}
