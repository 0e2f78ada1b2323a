// Loading WAV headers into the sound document: the marker searches, the checks and the label
// texts that later computations read back.
#include "sound/SelectedStretch.h"
#include "sound/SoundDocument.h"
#include "platform/audio/WaveFile.h"
#include "support/TempDir.h"
#include "support/Tools.h"
#include "support/WavFixture.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QString Write(const TempDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

struct Loaded {
    SoundDocument doc;
    SoundDocument::LoadResult result;
};

Loaded Load(const QString& path)
{
    Loaded l;
    WaveFile file;
    l.result = l.doc.LoadFileData(file, path, 3);
    return l;
}

// A chunk with the given id and body (padded to an even size as RIFF writers do).
QByteArray Chunk(const char* id, QByteArray body)
{
    QByteArray c(id, 4);
    const quint32 n = quint32(body.size());
    c.append(char(n & 0xff)).append(char((n >> 8) & 0xff)).append(char((n >> 16) & 0xff)).append(char(n >> 24));
    if (body.size() % 2) body.append('\0');
    return c + body;
}

} // namespace

TEST(SoundDocument, CanonicalHeaderFillsEveryLabel)
{
    TempDir dir;
    const QString path = Write(dir, "44100-2-16.wav",
                               MakeWav({.channels = 2}, Sine(441, 2, 1000, 8000)));
    Loaded l = Load(path);
    ASSERT_TRUE(l.result.ok());
    const SoundDocument& d = l.doc;
    EXPECT_EQ(d.fileName, path);
    EXPECT_EQ(d.windowNumber, 3);
    EXPECT_EQ(d.caption, "Waveform  View - (" + path + ")");
    EXPECT_EQ(d.fileNameText, "Filename: " + path);
    EXPECT_EQ(d.sizeText, QString("Size: %1 Bytes").arg(44 + 441 * 4));
    EXPECT_TRUE(d.modifiedText.startsWith("Last modified: "));
    EXPECT_EQ(d.viewStartTicksText, "0");
    EXPECT_EQ(d.viewStartSampleText, "0");
    EXPECT_EQ(d.channelsText, "Stereo");
    EXPECT_EQ(d.channelModeTag, "Stereo");
    EXPECT_EQ(d.sampleRateText, "44100");
    EXPECT_EQ(d.blockAlignText, "4");
    EXPECT_EQ(d.bitsText, "16 bits");
    EXPECT_EQ(d.dataSizeText, "1764");
    EXPECT_EQ(d.dataStartText, "45");     // "fmt " is the 4th block; sample data start at byte 45
    EXPECT_EQ(d.totalSamplesText, "441");
    EXPECT_EQ(d.viewSamplesText, "441");
    EXPECT_EQ(d.totalDurationText, "0.01");
    EXPECT_EQ(d.viewDurationText, "0.01");
    EXPECT_EQ(d.durationText, "Audio Duration: 0.01sec");
    EXPECT_EQ(d.selectionStartTicks, 0);
    EXPECT_EQ(d.selectionEndTicks, 1000);

    // The typed values are what the labels say.
    EXPECT_TRUE(d.stereo());
    EXPECT_EQ(d.sampleRate(), 44100);
    EXPECT_EQ(d.blockAlign(), 4);
    EXPECT_EQ(d.bitsPerSample(), 16);
    EXPECT_EQ(d.dataStart(), 45);
    EXPECT_EQ(d.dataSize(), 1764);
    EXPECT_EQ(d.totalSamples(), 441);
    EXPECT_EQ(d.viewSamples(), 441);
    EXPECT_DOUBLE_EQ(d.totalDuration(), 0.01);
    EXPECT_EQ(d.viewStartTicks(), 0);
    EXPECT_EQ(d.columnTableBase(), 0);
}

TEST(SoundDocument, ViewValuesAreReadBackAsDisplayed)
{
    SoundDocument d;
    d.setViewDuration(1.0 / 3.0);
    d.setViewSamples(1001);
    d.setViewStartSample(1000);
    d.setViewStartTicks(2267);
    d.setColumnTableBase(1000);
    EXPECT_EQ(d.viewDurationText, "0.333333333333333");
    EXPECT_EQ(d.viewDuration(), 0.333333333333333);   // the displayed rounding, not 1/3
    EXPECT_EQ(d.viewSamples(), 1001);
    EXPECT_EQ(d.viewStartSample(), 1000);
    EXPECT_EQ(d.viewStartTicks(), 2267);
    EXPECT_EQ(d.columnTableBase(), 1000);
    d.totalSamplesText = "garbage";
    EXPECT_EQ(d.totalSamples(), 0);
}

TEST(SoundDocument, DurationShownToFiveDecimals)
{
    // 1234567 frames at 1 MHz (a sparse file of zeros: the reader does not read the samples).
    TempDir dir;
    const QString path = Write(dir, "long.wav",
                               MakeWav({.sampleRate = 1000000, .bitsPerSample = 8,
                                        .dataSizeField = 1234567}, {}));
    ASSERT_TRUE(QFile(path).resize(44 + 1234567));
    Loaded l = Load(path);
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(l.doc.totalDurationText, "1.234567");
    EXPECT_EQ(l.doc.durationText, "Audio Duration: 1.23457sec");
    EXPECT_EQ(l.doc.selectionEndTicks, 123456);
}

TEST(SoundDocument, FrameCountRoundsHalfToEven)
{
    TempDir dir;
    const std::vector<int> samples(8, 0);
    for (const auto& [size, frames] : {std::pair{10, "2"}, {14, "4"}, {12, "3"}}) {
        const QString path = Write(dir, QString("d%1.wav").arg(size),
                                   MakeWav({.channels = 2, .dataSizeField = size}, samples));
        Loaded l = Load(path);
        ASSERT_TRUE(l.result.ok()) << size;
        EXPECT_EQ(l.doc.totalSamplesText, frames) << size;
    }
}

TEST(SoundDocument, FindsUnalignedFmtMarkerAndOtherChunks)
{
    TempDir dir;
    // One stray byte after "WAVE" puts "fmt " at byte offset 13: only the byte search finds it.
    QByteArray bytes = MakeWav({.channels = 1}, {1, 2, 3, 4});
    bytes.insert(12, 'x');
    Loaded odd = Load(Write(dir, "unaligned-fmt.wav", bytes));
    ASSERT_TRUE(odd.result.ok());
    EXPECT_EQ(odd.doc.dataStart(), 46);
    EXPECT_EQ(odd.doc.totalSamples(), 4);

    // 18- and 40-byte fmt chunks, and a LIST chunk before "data": the reader searches for "data".
    const QByteArray list = Chunk("LIST", "INFOISFT" + QByteArray("\x0e\0\0\0Lavf59.27.100\0", 18));
    for (int fmtSize : {18, 40}) {
        const QByteArray wav = MakeWav({.channels = 2, .fmtChunkSize = fmtSize,
                                        .chunksBeforeData = list}, Sine(100, 2, 440, 1000));
        Loaded l = Load(Write(dir, QString("fmt%1-list.wav").arg(fmtSize), wav));
        ASSERT_TRUE(l.result.ok()) << fmtSize;
        EXPECT_EQ(l.doc.dataStart(), wav.indexOf("data") + 9) << fmtSize;
        EXPECT_EQ(l.doc.totalSamples(), 100);
    }

    // The chunk list steps over a chunk of any size before "fmt "; without the RIFF markers the
    // byte search looks no further than 400 bytes.
    QByteArray far = MakeWav({}, {0, 0});
    far.insert(12, Chunk("JUNK", QByteArray(400, 'j')));
    EXPECT_TRUE(Load(Write(dir, "far-fmt.wav", far)).result.ok());
    far.replace(0, 4, "RIFX");
    EXPECT_EQ(Load(Write(dir, "far-fmt-no-riff.wav", far)).result.fault, WaveFault::NoFmtMarker);
}

TEST(SoundDocument, ABroadcastWaveWithABextChunkLoads)
{
    // Field recorders put a "bext" chunk of 602 bytes and more before the data; ffmpeg writes one
    // on request.
    TempDir dir;
    const QString path = dir.file("bext.wav");
    const ToolResult made = RunTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=440:d=0.5",
                                               "-ac", "2", "-write_bext", "1", "-y", path});
    ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
    const QByteArray bytes = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    ASSERT_GT(bytes.indexOf("data") - bytes.indexOf("bext"), 600);
    Loaded l = Load(path);
    ASSERT_TRUE(l.result.ok()) << int(l.result.fault);
    EXPECT_EQ(l.doc.dataStart(), bytes.indexOf("data") + 9);
    EXPECT_EQ(l.doc.totalSamples(), 22050);
    EXPECT_EQ(l.doc.sampleRate(), 44100);
}

TEST(SoundDocument, FloatTagWithSixteenBitsLoadsAsPcm)
{
    TempDir dir;
    Loaded l = Load(Write(dir, "float16.wav", MakeWav({.formatTag = 3}, {100, -100})));
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(l.doc.bitsText, "16 bits");
    EXPECT_EQ(l.doc.totalSamples(), 2);
}

TEST(SoundDocument, DataSearchCounts)
{
    TempDir dir;
    auto withFiller = [&](const QByteArray& filler) {
        // The filler sits between the fmt fields and "data", where the byte search runs.
        return Load(Write(dir, "filler.wav", MakeWav({.chunksBeforeData = filler}, {5, 6})));
    };
    // A "d" not followed by "ata" within 90 bytes: the search goes on after it.
    EXPECT_TRUE(withFiller(QByteArray(30, 'x') + "dat" + QByteArray(60, 'y')).result.ok());
    // A "d" at the 95th byte that starts "data" is still found.
    EXPECT_TRUE(withFiller(QByteArray(94, 'x')).result.ok());
    // 100 bytes without a "d": the search gives up.
    EXPECT_EQ(withFiller(QByteArray(100, 'x')).result.fault, WaveFault::NoDataMarker);
    // A false "d" found after more than 90 bytes ends the search too.
    EXPECT_EQ(withFiller(QByteArray(91, 'x') + "dog").result.fault, WaveFault::NoDataMarker);
    // Restarted counts let a chain of near misses run further than 100 bytes.
    QByteArray chain;
    for (int i = 0; i < 5; ++i) chain += QByteArray(80, 'x') + "d";
    EXPECT_TRUE(withFiller(chain).result.ok());
}

TEST(SoundDocument, RejectedFieldsShowErrorInTheirLabel)
{
    TempDir dir;
    struct Case { WavShape shape; WaveFault fault; const char* label; };
    const std::vector<Case> cases = {
        {{.channels = 3}, WaveFault::Channels, "Label9"},
        // 24- and 32-bit PCM load; widths no format has, and compressed formats, do not.
        {{.bitsPerSample = 12}, WaveFault::BitsPerSample, "Label10"},
        {{.bitsPerSample = 24, .formatTag = 3}, WaveFault::BitsPerSample, "Label10"},
        {{.bitsPerSample = 4, .formatTag = 2}, WaveFault::Compressed, "Label10"},
        // A zero rate or block align would divide every duration or count by zero.
        {{.sampleRate = 0}, WaveFault::SampleRate, "Label8"},
        {{.blockAlign = 0}, WaveFault::BlockAlign, "Label12"},
    };
    for (const Case& c : cases) {
        const QString path = Write(dir, "bad.wav", MakeWav(c.shape, std::vector<int>(12, 0)));
        SoundDocument d;
        WaveFile file;
        const auto r = d.LoadFileData(file, path, 1);
        EXPECT_EQ(r.fault, c.fault) << c.label;
        EXPECT_EQ(r.errorLabel, c.label);
        EXPECT_FALSE(file.IsOpen());
        const auto texts = d.LabelTexts();
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const auto& p) { return p.first == c.label; });
        ASSERT_NE(it, texts.end());
        EXPECT_EQ(it->second, "Error");
        EXPECT_TRUE(d.totalSamplesText.isEmpty());
        d.InitStart();
        EXPECT_TRUE(d.sampleRateText.isEmpty() && d.channelsText.isEmpty() && d.bitsText.isEmpty() &&
                    d.blockAlignText.isEmpty() && d.fileNameText.isEmpty());
    }
}

TEST(SoundDocument, UnreadableFilesFailCleanly)
{
    TempDir dir;
    Loaded missing = Load(dir.file("nothing-here.wav"));
    EXPECT_EQ(missing.result.fault, WaveFault::FileNotOpened);
    EXPECT_EQ(missing.result.systemError, ENOENT);

    Loaded folder = Load(dir.path());
    EXPECT_EQ(folder.result.fault, WaveFault::FileNotOpened);

    const QByteArray wav = MakeWav({}, {1, 2});
    EXPECT_EQ(Load(Write(dir, "empty.wav", {})).result.fault, WaveFault::Truncated);
    EXPECT_EQ(Load(Write(dir, "cut-in-fmt.wav", wav.left(30))).result.fault, WaveFault::Truncated);
    EXPECT_EQ(Load(Write(dir, "cut-in-size.wav", wav.left(42))).result.fault, WaveFault::Truncated);
    EXPECT_EQ(Load(Write(dir, "cut-before-data.wav", wav.left(36))).result.fault,
              WaveFault::NoDataMarker);
}

TEST(SoundDocument, StreamingSizeTakesTheDataTheFileHolds)
{
    // 0xFFFFFFFF as the data size (a writer that never went back to fill it in): 101 frames of
    // 16-bit stereo and one stray byte are in the file.
    TempDir dir;
    QByteArray wav = MakeWav({.channels = 2, .dataSizeField = 0xFFFFFFFF}, Sine(101, 2, 440, 3000));
    wav.append('\x7f');
    Loaded l = Load(Write(dir, "streamed.wav", wav));
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(l.doc.dataSize(), 404);
    EXPECT_EQ(l.doc.totalSamples(), 101);
    EXPECT_GT(l.doc.totalDuration(), 0);
    EXPECT_GT(l.doc.selectionEndTicks, 0);

    // A data size larger than the file counts only the frames there: 1 KB on disk declaring
    // 2 GB is 489 frames long, and a bare header holds none.
    Loaded huge = Load(Write(dir, "size-huge.wav",
                             MakeWav({.dataSizeField = 0x7ffff000}, std::vector<int>(489, 7)) + "x"));
    ASSERT_TRUE(huge.result.ok());
    EXPECT_EQ(huge.doc.dataSize(), 978);
    EXPECT_EQ(huge.doc.totalSamples(), 489);
    EXPECT_NEAR(huge.doc.totalDuration(), 489.0 / 44100, 1e-6);
    Loaded bare = Load(Write(dir, "bare.wav", MakeWav({.dataSizeField = 176400}, {})));
    ASSERT_TRUE(bare.result.ok());
    EXPECT_EQ(bare.doc.totalSamples(), 0);
    EXPECT_EQ(bare.doc.totalDuration(), 0);
}

TEST(SelectedStretch, FramesOfAStereoSelectionStartFourBytesEach)
{
    TempDir dir;
    const QString path = dir.file("stereo.wav");
    WavShape shape;
    shape.channels = 2;
    ASSERT_TRUE(WriteWav(path, shape, std::vector<int>(2 * 3000, 0)));
    WaveFile file;
    SoundDocument document;
    ASSERT_TRUE(document.LoadFileData(file, path, 1).ok());
    SelectionReadout readout;
    readout.initialSample = "1000";
    readout.selectedSamples = "999";
    const SelectedStretch s = SelectedStretchOf(document, readout);
    EXPECT_EQ(s.firstFrame, 1000);
    EXPECT_EQ(s.start, document.dataStart() + 4000);
    EXPECT_EQ(s.frames, 999);
    EXPECT_EQ(SelectedStretchOf(document, SelectionReadout{}).start, document.dataStart());
}
