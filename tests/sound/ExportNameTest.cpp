// The names of an audio save: WAV or MP3, the final name and the MP3's intermediate WAV.
#include "sound/ExportName.h"
#include "support/TempDir.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

// A file system holding exactly the given files.
std::function<bool(const QString&)> Holding(QSet<QString> files)
{
    return [files](const QString& path) { return files.contains(path); };
}

} // namespace

TEST(ExportName, TheDialogsTypeList)
{
    EXPECT_EQ(ExportFilter(), "Wave Files  (*.wav)|*.wav|mp3 File  (*.mp3)|*.mp3");
}

TEST(ExportName, WavSaves)
{
    const auto none = Holding({});
    ExportName n = ChooseExportName("/d/clip", 1, {}, none);
    EXPECT_FALSE(n.mp3);
    EXPECT_EQ(n.target, "/d/clip.wav");
    EXPECT_EQ(n.wav, n.target);
    EXPECT_TRUE(n.staleWav.isEmpty());

    // A name ending in ".wav" in any letter case is kept as it is.
    EXPECT_EQ(ChooseExportName("/d/Clip.WaV", 1, {}, none).target, "/d/Clip.WaV");
    // Other names lose every ".mp3" and ".MP3", in the file name only.
    EXPECT_EQ(ChooseExportName("/d/a.mp3.take", 1, {}, none).target, "/d/a.take.wav");
    EXPECT_EQ(ChooseExportName("/d/a.MP3.take", 1, {}, none).target, "/d/a.take.wav");
    EXPECT_EQ(ChooseExportName("/d/Clips.MP3/a.mp3x", 1, {}, none).target, "/d/Clips.MP3/ax.wav");
    EXPECT_EQ(ChooseExportName("/d/old.mp3.d/Take", 1, {}, none).target, "/d/old.mp3.d/Take.wav");
}

TEST(ExportName, Mp3SavesByNameOrByType)
{
    // clip.MP3 with the WAV type selected is an MP3 save.
    ExportName n = ChooseExportName("/d/clip.MP3", 1, {}, Holding({}));
    EXPECT_TRUE(n.mp3);
    EXPECT_EQ(n.target, "/d/clip.mp3");
    EXPECT_EQ(n.wav, "/d/clip.wav");
    EXPECT_TRUE(n.staleWav.isEmpty());

    // The MP3 type: the file name lower-cased and its ".wav" removed; the folder kept as it is.
    n = ChooseExportName("/home/Ann/My Sounds.WAV.d/Song.WAV", 2, {}, Holding({}));
    EXPECT_TRUE(n.mp3);
    EXPECT_EQ(n.target, "/home/Ann/My Sounds.WAV.d/song.mp3");
    EXPECT_EQ(n.wav, "/home/Ann/My Sounds.WAV.d/song.wav");
    EXPECT_EQ(ChooseExportName("/d/Take.Wav.Mix", 2, {}, Holding({})).target, "/d/take.mix.mp3");
    EXPECT_EQ(ChooseExportName("/d/x.mp3.MP3", 1, {}, Holding({})).target, "/d/x.mp3.mp3");
    EXPECT_EQ(ChooseExportName("/d/x.mp3.MP3", 1, {}, Holding({})).wav, "/d/x.mp3.wav");
    EXPECT_EQ(ChooseExportName("relative", 2, {}, Holding({})).target, "relative.mp3");
}

TEST(ExportName, AnExistingWavIsNeverTheIntermediate)
{
    ExportName n = ChooseExportName("/d/clip.mp3", 1, {}, Holding({"/d/clip.wav"}));
    EXPECT_EQ(n.target, "/d/clip.mp3");
    EXPECT_EQ(n.wav, "/d/clip-.wav");
    EXPECT_TRUE(n.staleWav.isEmpty());

    // An older "-.wav" is to be deleted first.
    n = ChooseExportName("/d/clip.mp3", 1, {}, Holding({"/d/clip.wav", "/d/clip-.wav"}));
    EXPECT_EQ(n.wav, "/d/clip-.wav");
    EXPECT_EQ(n.staleWav, "/d/clip-.wav");

    // ...unless it is the sound being saved.
    n = ChooseExportName("/d/clip.mp3", 2, "/d/./clip-.wav", Holding({"/d/clip.wav", "/d/clip-.wav"}));
    EXPECT_EQ(n.wav, "/d/clip--.wav");
    EXPECT_TRUE(n.staleWav.isEmpty());
}

TEST(ExportName, AsksTheRealFileSystemByDefault)
{
    TempDir dir;
    QFile f(dir.file("clip.wav"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(ChooseExportName(dir.file("Clip"), 2).wav, dir.file("clip-.wav"));
    EXPECT_EQ(ChooseExportName(dir.file("other"), 2).wav, dir.file("other.wav"));
}
