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
