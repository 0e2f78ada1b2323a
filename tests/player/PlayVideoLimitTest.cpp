// The player's window limit of a run, in an executable of its own: once 255 player windows have
// been opened, no other test of the same process could open one.
#include "player/OpenVideoWindow.h"
#include "player/playvideo.h"
#include "support/FrameFixture.h"
#include "support/Tools.h"

TEST_F(FrameFixture, The256thClipOpensNoWindow)
{
    // A one-frame clip: each window opens on it and is closed again.
    if (!ToolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is missing";
    const QString path = dir.file("one-frame.avi");
    ASSERT_EQ(RunTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=32x24:rate=1",
                                 "-frames:v", "1", "-c:v", "mjpeg", path}).exitCode, 0);
    while (VideoWindowCounter() < 255) {
        const int before = VideoWindowCounter();
        OpenVideoWindow(path);
        ASSERT_EQ(VideoWindowCounter(), before + 1);
        playvideo* window = lastChild<playvideo>();
        ASSERT_NE(window, nullptr) << "window " << VideoWindowCounter();
        EXPECT_EQ(window->windowNumber(), VideoWindowCounter());
        frame.mdiArea()->closeAllSubWindows();
    }
    OpenVideoWindow(path);
    EXPECT_EQ(VideoWindowCounter(), 255);
    EXPECT_TRUE(frame.mdiArea()->subWindowList().isEmpty());
}
