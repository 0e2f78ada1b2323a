// The window limit of a run, in an executable of its own: once 255 analyser windows have been
// opened, no other test of the same process could open one.
#include "support/FrameFixture.h"
#include "support/WavFixture.h"

TEST_F(FrameFixture, The256thWindowOpensNothing)
{
    const QString path = dir.file("tiny.wav");
    ASSERT_TRUE(WriteWav(path, WavShape{}, Sine(100, 1, 441, 1000)));
    while (SoundWindowCounter() < 255) {
        WavForm* w = openSound(path);
        ASSERT_NE(w, nullptr) << "window " << SoundWindowCounter();
        frame.mdiArea()->closeAllSubWindows();
    }
    EXPECT_EQ(openSound(path), nullptr);
    EXPECT_EQ(SoundWindowCounter(), 255);
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
}
