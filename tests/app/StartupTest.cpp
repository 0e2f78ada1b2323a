#include "app/Startup.h"

#include <gtest/gtest.h>

namespace {
auto always = [](const QString&) { return true; };
auto never = [](const QString&) { return false; };

StoredPlacement none() { return {}; }
StoredPlacement left(const QString& v)
{
    StoredPlacement s;
    s.left = v;
    s.hasLeft = true;
    return s;
}
}

TEST(FramePlacement, DefaultsCentreTheFrameAtHalfTheScreen)
{
    const FramePlacement p = ComputeFramePlacement(19200, 14400, 9600, 7200, none());
    EXPECT_EQ(p.left, 4800);
    EXPECT_EQ(p.top, 3600);
    EXPECT_EQ(p.width, 9600);
    EXPECT_EQ(p.height, 7200);
    // Odd differences round half to even: (9601 - 9600) / 2 = 0.5 -> 0, (9603 - 9600) / 2 -> 2.
    EXPECT_EQ(ComputeFramePlacement(9601, 7203, 9600, 7200, none()).left, 0);
    EXPECT_EQ(ComputeFramePlacement(9601, 7203, 9600, 7200, none()).top, 2);
}

TEST(FramePlacement, StoredValuesAreClampedToTheScreen)
{
    EXPECT_EQ(ComputeFramePlacement(19200, 14400, 9600, 7200, left("50000")).left, 9600);
    EXPECT_EQ(ComputeFramePlacement(19200, 14400, 9600, 7200, left("-300")).left, 0);
    EXPECT_EQ(ComputeFramePlacement(19200, 14400, 9600, 7200, left("1234.5")).left, 1234);
    // Nonsense counts as 0.
    EXPECT_EQ(ComputeFramePlacement(19200, 14400, 9600, 7200, left("abc")).left, 0);
    StoredPlacement size;
    size.width = "12000x";
    size.hasWidth = true;
    EXPECT_EQ(ComputeFramePlacement(19200, 14400, 9600, 7200, size).width, 12000);
}

TEST(StartupFile, DispatchesOnTheLowerCasedExtensionOfTheFile)
{
    EXPECT_EQ(ChooseStartupFile("/x/a.wav", "", always).action, StartupAction::Wave);
    EXPECT_EQ(ChooseStartupFile("/x/A.WAV", "", always).action, StartupAction::Wave);
    EXPECT_EQ(ChooseStartupFile("/x/song.Mp3", "", always).action, StartupAction::Mp3);
    EXPECT_EQ(ChooseStartupFile("/x/clip.avi", "", always).action, StartupAction::Video);
    // Images go to the image processor, whatever the letter case or the length of the type.
    for (const char* image : {"/x/a.png", "/x/B.JPEG", "/x/c.tiff", "/x/d.ico"})
        EXPECT_EQ(ChooseStartupFile(image, "", always).action, StartupAction::Image) << image;
    // The extension of the file counts, not the first dot of the path.
    EXPECT_EQ(ChooseStartupFile("/data/lab.v2/tone.wav", "", always).action, StartupAction::Wave);
    EXPECT_EQ(ChooseStartupFile("/x/noextension", "", always).action, StartupAction::None);
    EXPECT_EQ(ChooseStartupFile("/x/noextension", "", always).path, "/x/noextension");
}

TEST(StartupFile, QuotesAreRemovedAndTheLastFileIsTheFallback)
{
    const StartupFile quoted = ChooseStartupFile("\"/my sounds/a b.wav\"", "/last.wav", always);
    EXPECT_EQ(quoted.path, "/my sounds/a b.wav");
    EXPECT_EQ(ChooseStartupFile("", "/last.wav", always).path, "/last.wav");
    EXPECT_EQ(ChooseStartupFile("", "", always).action, StartupAction::None);
    EXPECT_EQ(ChooseStartupFile("/gone.wav", "", never).action, StartupAction::None);
}
