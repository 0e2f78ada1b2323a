#include "platform/ui/FileDialogs.h"

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

TEST(FileDialogs, FilterBecomesNulSeparatedWithADoubleNulEnd)
{
    const QString converted = ConvertFilter("Palette Files (*.pal)|*.pal");
    EXPECT_EQ(converted, QString("Palette Files (*.pal)") + QChar(0) + "*.pal" + QChar(0) + QChar(0));
    // Colons become separators too.
    EXPECT_EQ(ConvertFilter("a:b").count(QChar(0)), 3);
}

TEST(FileDialogs, FlagsCombineArgumentsAndDropHookAndTemplateBits)
{
    FileDialogArgs open;
    open.multiSelect = true;
    open.readOnly = true;
    open.hideReadOnly = true;
    open.flags = 0x20 | 0x40 | 0x8;
    EXPECT_EQ(OpenDialogFlags(open), 0x1000 | 0x200 | 0x1 | 0x4 | 0x8);
    FileDialogArgs save;
    save.flags = 0x60;
    EXPECT_EQ(SaveDialogFlags(save), 0x2 | 0x4);
    save.overwritePrompt = false;
    EXPECT_EQ(SaveDialogFlags(save), 0x4);
}

TEST(FileDialogs, ConfirmAndCancel)
{
    ScopedScriptedPrompts prompts;
    prompts->QueueFile(QString("/tmp/pictures/palette one.pal"));
    prompts->QueueFile(std::nullopt);

    FileDialogArgs args;
    args.filter = "Palette Files (*.pal)|*.pal";
    args.dialogTitle = "Open Palette";
    ASSERT_TRUE(OpenFileDialog(args));
    EXPECT_EQ(args.fileName, "/tmp/pictures/palette one.pal");
    EXPECT_EQ(args.fileTitle, "palette one.pal");
    EXPECT_EQ(args.filterIndex, 1);
    EXPECT_EQ(args.filter, "Palette Files (*.pal)");
    EXPECT_EQ(prompts->shown().back().filter, "Palette Files (*.pal)|*.pal");

    ASSERT_FALSE(SaveFileDialog(args));
    EXPECT_TRUE(args.fileName.isEmpty());
    EXPECT_TRUE(args.fileTitle.isEmpty());
    EXPECT_TRUE(args.filter.isEmpty());
    EXPECT_EQ(args.filterIndex, -1);
    EXPECT_EQ(args.flags, 0);
}

TEST(FileDialogs, TitlesAndListItems)
{
    EXPECT_EQ(FileTitleOf("/home/pupil/lab 1/tone.wav"), "tone.wav");
    EXPECT_EQ(FileTitleOf("/home/pupil/"), "");
    EXPECT_EQ(FileTitleOf(""), "");
    const QString list = QString("/dir") + QChar(0) + "a.bmp" + QChar(0) + "b.bmp";
    EXPECT_EQ(NthItem(list, 1), "/dir");
    EXPECT_EQ(NthItem(list, 3), "b.bmp");
    EXPECT_EQ(NthItem(list, 4), "");
    EXPECT_EQ(NthItem(list, 0), "");
}

// The shared dialog remembers the last file of any type; a dialog of another type does not
// propose it: an open dialog opens in its folder without it, a save dialog gives it the type's
// extension. Names of the type, names without an extension and "all files" stay as they are.
TEST(FileNameForType, ANameOfAnotherTypeIsNotProposed)
{
    const QString midi = "Midi file (*.mid*)|*.mid";
    ProposedFile p = FileNameForType("/home/t/rec1.wav", midi, 1, false);
    EXPECT_TRUE(p.fileName.isEmpty());
    EXPECT_EQ(p.folder, "/home/t");
    EXPECT_EQ(FileNameForType("/home/t/song.MID", midi, 1, false).fileName, "/home/t/song.MID");
    EXPECT_EQ(FileNameForType("rec1.wav", midi, 1, false).folder, "");
    const QString videos = "Video (*.avi;*.mp4)|*.avi;*.mp4|All|*.*";
    EXPECT_TRUE(FileNameForType("/c/frame1.BMP", videos, 1, false).fileName.isEmpty());
    EXPECT_EQ(FileNameForType("/c/frame1.BMP", videos, 2, false).fileName, "/c/frame1.BMP");
    EXPECT_EQ(FileNameForType("/c/clip.MP4", videos, 1, false).fileName, "/c/clip.MP4");

    const QString wave = "Wave Files  (*.wav*)|*.wav";
    EXPECT_EQ(FileNameForType("/c/clip.PNG", wave, 1, true).fileName, "/c/clip.wav");
    EXPECT_EQ(FileNameForType("/c/Audio_2026-12-08_14-00-05", wave, 1, true).fileName,
              "/c/Audio_2026-12-08_14-00-05");
    EXPECT_EQ(FileNameForType("/c/take.wav", wave, 1, true).fileName, "/c/take.wav");
    EXPECT_EQ(FileNameForType("", wave, 1, true).fileName, "");
    // A filter index out of range keeps the name: there is no type to hold it against.
    EXPECT_EQ(FileNameForType("/c/clip.PNG", wave, 3, true).fileName, "/c/clip.PNG");
}
