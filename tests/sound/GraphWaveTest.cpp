// The waveform drawing: layout, sample-by-sample and per-unit modes, equalisation, the
// amplitude table and the drawing on the graph boxes and their highlight copies.
#include "sound/ColumnTable.h"
#include "sound/GraphWave.h"
#include "platform/audio/WaveFile.h"
#include "platform/ui/Surface.h"
#include "support/TempDir.h"
#include "support/WavFixture.h"

#include <gtest/gtest.h>

namespace {

const QColor Background(255, 255, 255);
const QColor ButtonFace(240, 240, 240);

class GraphWaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        graph.SetColours(Background);
        graph.SetButtonFace(ButtonFace);
    }

    // Draws the whole of a canonical file (sample data at byte 45) of frameCount frames.
    GraphLayout Draw(const WavShape& shape, const std::vector<int>& samples, bool equalise = false,
                     int frameCount = -1)
    {
        const QString path = dir.file("g.wav");
        EXPECT_TRUE(WriteWav(path, shape, samples));
        WaveFile file;
        EXPECT_EQ(file.Open(path), 0);
        graph.SetEqualise(equalise);
        if (frameCount < 0) frameCount = int(samples.size()) / shape.channels;
        return graph.Draw(file, 45, frameCount, shape.bitsPerSample,
                          shape.channels == 2 ? "Stereo" : "Mono");
    }

    TempDir dir;
    Surface p2{10060, 3856}, p4{10060, 3856}, p5{10060, 1928}, p7{10060, 1928};
    ColumnTable table;
    GraphWave graph{p2, p4, p5, p7, table};
};

} // namespace

TEST_F(GraphWaveTest, ShortMonoSoundIsDrawnSampleBySample)
{
    std::vector<int> s(500);
    for (int i = 0; i < 500; ++i) s[i] = (i % 50) * 600 - 15000;
    const GraphLayout layout = Draw({}, s);

    EXPECT_EQ(layout.ampTag, "0");
    EXPECT_TRUE(layout.showAmplitudeBoxEnabled);
    EXPECT_FALSE(layout.hideReadout);
    EXPECT_EQ(layout.upperHeight, 3856);
    EXPECT_FALSE(layout.lowerVisible);
    ASSERT_TRUE(layout.monoCursorHeight.has_value());
    EXPECT_EQ(*layout.monoCursorHeight, 3856);
    EXPECT_EQ(p2.ScaleHeight(), 3856);

    for (int i = 0; i < 500; ++i)
        ASSERT_FLOAT_EQ(table.At(i, 0), s[i] / 32768.0f) << i;
    // Three reference lines, the first point and 499 lines, on the graph and on its copy.
    EXPECT_EQ(p2.PrimitiveCount(), 503u);
    EXPECT_EQ(p4.PrimitiveCount(), 503u);
    EXPECT_EQ(p5.PrimitiveCount(), 0u);
    // Frame 1 sits at x = 20 (points about 20 units apart), y = round(1928 - s / 17).
    const double y1 = 1928 - std::round(s[1] / 17.0);
    EXPECT_TRUE(p2.HasInkIn(19.9, y1 - 0.1, 20.1, y1 + 0.1, GraphWave::Blue()));
    EXPECT_TRUE(p4.HasInkIn(19.9, y1 - 0.1, 20.1, y1 + 0.1, Background));
    // The reference lines: centre in the pen colour, 7/16 of the height off it in button face.
    EXPECT_TRUE(p2.HasInkIn(10050, 1927.9, 10060, 1928.1, GraphWave::Blue()));
    EXPECT_TRUE(p2.HasInkIn(10050, 1928 - 1687 - 0.1, 10060, 1928 - 1687 + 0.1, ButtonFace));
    EXPECT_TRUE(p2.HasInkIn(10050, 1928 + 1687 - 0.1, 10060, 1928 + 1687 + 0.1, ButtonFace));
    // No channel label on a mono sound.
    EXPECT_FALSE(p2.HasInkIn(0, 0, 300, 100, GraphWave::Blue()));
}

TEST_F(GraphWaveTest, ConstantSampleLandsOnItsScaleAndEqualisationCentresIt)
{
    // 16-bit mono: 17 sample units per twip; 1700 is 100 twips above the centre.
    const std::vector<int> s(300, 1700);
    Draw({}, s);
    EXPECT_TRUE(p2.HasInkIn(5000, 1827.9, 5001, 1828.1, GraphWave::Blue()));
    EXPECT_FALSE(p2.HasInkIn(0, 1830, 10060, 1926, GraphWave::Blue()));

    p2.Cls(); p4.Cls();
    Draw({}, s, true);
    EXPECT_FALSE(p2.HasInkIn(0, 1500, 10060, 1926, GraphWave::Blue()));
    EXPECT_FLOAT_EQ(table.At(7, 0), 0.0f);

    // 16-bit stereo: 35 units per twip around the centre 964 of each 1928-high box.
    p2.Cls(); p4.Cls();
    std::vector<int> st;
    for (int i = 0; i < 300; ++i) { st.push_back(3500); st.push_back(-3500); }
    Draw({.channels = 2}, st);
    EXPECT_TRUE(p2.HasInkIn(5000, 863.9, 5001, 864.1, GraphWave::Blue()));
    EXPECT_TRUE(p5.HasInkIn(5000, 1063.9, 5001, 1064.1, GraphWave::DarkRed()));
    EXPECT_FALSE(p2.HasInkIn(0, 866, 10060, 962, GraphWave::Blue()));
    EXPECT_FLOAT_EQ(table.At(299, 1), -3500 / 32768.0f);
}

TEST_F(GraphWaveTest, LongSoundIsDrawnOneSamplePerUnit)
{
    std::vector<int> s(100000);
    for (int k = 0; k < 100000; ++k) s[k] = k % 20000 - 10000;
    table.Set(10000, 0, 5.0f);
    const GraphLayout layout = Draw({}, s);

    EXPECT_EQ(layout.ampTag, "1");
    EXPECT_FALSE(layout.showAmplitudeBoxEnabled);
    EXPECT_TRUE(layout.hideReadout);
    // Row x holds the frame at floor(x * frames / W), for x = 1..9999 and no further.
    const double perUnit = 100000.0 / 10060;
    for (int x = 0; x <= 9999; ++x) {
        const int k = int(std::floor(x * perUnit));
        ASSERT_FLOAT_EQ(table.At(x, 0), s[k] / 32768.0f) << x;
    }
    EXPECT_EQ(table.At(10000, 0), 5.0f);
    EXPECT_EQ(p2.PrimitiveCount(), 3u + 1u + 9999u);
    EXPECT_FALSE(p2.HasInkIn(9999.6, 0, 10060, 1900, GraphWave::Blue()));
}

TEST_F(GraphWaveTest, EightBitStereoEqualisationPutsTheAverageOnTheCentre)
{
    // Samples alternate 126 and 134 in both channels: the average is 130, 2 above silence.
    std::vector<int> s;
    for (int i = 0; i < 200; ++i) { const int v = i % 2 ? 134 : 126; s.push_back(v); s.push_back(v); }
    const WavShape shape{.channels = 2, .bitsPerSample = 8};

    Draw(shape, s, true);
    // 7 twips per unit around the centre 964: 126 -> 992, 134 -> 936.
    for (auto [box, pen] : {std::pair<Surface*, QColor>{&p2, GraphWave::Blue()}, {&p5, GraphWave::DarkRed()}}) {
        EXPECT_TRUE(box->HasInkIn(100, 991.9, 9000, 992.1, pen));
        EXPECT_TRUE(box->HasInkIn(100, 935.9, 9000, 936.1, pen));
        EXPECT_FALSE(box->HasInkIn(100, 900, 9000, 934, pen));
        EXPECT_FALSE(box->HasInkIn(100, 994, 9000, 1900, pen));
    }
    EXPECT_FLOAT_EQ(table.At(0, 0), -4 / 128.0f);
    EXPECT_FLOAT_EQ(table.At(1, 1), 4 / 128.0f);

    for (Surface* b : {&p2, &p4, &p5, &p7}) b->Cls();
    Draw(shape, s, false);
    // Without equalisation 128 is the centre: the trace sits 14 twips high (978 and 922).
    EXPECT_TRUE(p2.HasInkIn(100, 921.9, 9000, 922.1, GraphWave::Blue()));
    EXPECT_FALSE(p2.HasInkIn(100, 980, 9000, 1900, GraphWave::Blue()));
    EXPECT_FLOAT_EQ(table.At(0, 0), -2 / 128.0f);
}

TEST_F(GraphWaveTest, SilentStereoDrawsFlatLinesWithChannelLabels)
{
    const GraphLayout layout = Draw({.channels = 2}, std::vector<int>(2 * 400, 0));
    EXPECT_EQ(layout.upperHeight, 1928);
    EXPECT_TRUE(layout.lowerVisible);
    EXPECT_EQ(layout.lowerHeight, 1928);
    EXPECT_FALSE(layout.monoCursorHeight.has_value());
    EXPECT_EQ(p2.ScaleHeight(), 1928);
    EXPECT_EQ(p5.ScaleHeight(), 1928);
    EXPECT_EQ(p7.ScaleHeight(), 1928);

    struct Box { Surface& s; QColor pen; };
    for (const Box& b : {Box{p2, GraphWave::Blue()}, Box{p4, Background},
                         Box{p5, GraphWave::DarkRed()}, Box{p7, Background}}) {
        EXPECT_TRUE(b.s.HasInkIn(0, 0, 1, 1, b.pen));           // the channel label
        EXPECT_TRUE(b.s.HasInkIn(5000, 963.9, 5001, 964.1, b.pen));
        EXPECT_FALSE(b.s.HasInkIn(0, 200, 10060, 962, b.pen));
        EXPECT_FALSE(b.s.HasInkIn(0, 966, 10060, 1928, b.pen));
        EXPECT_EQ(b.s.Font().family(), "Arial");
    }
    // Pen colours of the pasted right channel of a mono clip.
    graph.SetColours(Background, GraphWave::DarkRed());
    EXPECT_EQ(p2.ForeColor(), GraphWave::DarkRed());
    EXPECT_EQ(p4.BackColor(), GraphWave::DarkRed());
}

TEST_F(GraphWaveTest, ReadsPastTheEndGiveZero)
{
    // The header and the caller ask for 200 frames; the file holds 100.
    for (int r = 0; r < 200; ++r) table.Set(r, 0, 9.0f);
    Draw({.dataSizeField = 400}, std::vector<int>(100, 1000), false, 200);
    EXPECT_FLOAT_EQ(table.At(99, 0), 1000 / 32768.0f);
    EXPECT_EQ(table.At(100, 0), 0.0f);
    EXPECT_EQ(table.At(199, 0), 0.0f);

    // Equalising over a stretch mostly beyond the end: the missing frames count as silence.
    for (Surface* b : {&p2, &p4, &p5, &p7}) b->Cls();
    Draw({.dataSizeField = 400}, std::vector<int>(100, 1000), true, 200);
    EXPECT_FLOAT_EQ(table.At(0, 0), 500 / 32768.0f);
}
