// The player's window limit of a run, in an executable of its own: once 255 player windows have
// been opened, no other test of the same process could open one.
#include "player/OpenVideoWindow.h"
#include "player/playvideo.h"
#include "support/FrameFixture.h"

TEST_F(FrameFixture, The256thClipOpensNoWindow)
{
    // A file that is no clip: each window opens, says "Error!!" and is closed again.
    const QString path = dir.file("not-a-clip.avi");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("nothing to see");
    file.close();
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
