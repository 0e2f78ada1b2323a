// Keeping a window in view: the one clamp every restored position goes through.
#include "platform/ui/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(KeepInside, MovesAWindowAsLittleAsNeededToBeWhollyVisible)
{
    const QRect screen(0, 0, 1600, 1000);
    const QSize window(700, 560);
    // Inside already: where it was, also touching the edges.
    EXPECT_EQ(KeepInside({100, 200}, window, screen), QPoint(100, 200));
    EXPECT_EQ(KeepInside({900, 440}, window, screen), QPoint(900, 440));
    // Past the right and the bottom edge: back by what stuck out, each side on its own.
    EXPECT_EQ(KeepInside({1200, 200}, window, screen), QPoint(900, 200));
    EXPECT_EQ(KeepInside({100, 700}, window, screen), QPoint(100, 440));
    // Left of or above the area: to its edge.
    EXPECT_EQ(KeepInside({-50, -3}, window, screen), QPoint(0, 0));
    // Far off (a position stored on a much larger screen).
    EXPECT_EQ(KeepInside({100000, 100000}, window, screen), QPoint(900, 440));
}

// The position stored while a window was small (loaded unseen, before its picture sized it)
// brought back for the window at its full size: the whole window shows.
TEST(KeepInside, PositionOfASmallerWindowFitsTheLargerOne)
{
    const QRect area(0, 0, 800, 600);
    const QPoint stored(240, 340);   // fitted a 320 × 260 window
    const QPoint p = KeepInside(stored, {660, 530}, area);
    EXPECT_EQ(p, QPoint(140, 70));
    EXPECT_TRUE(area.contains(QRect(p, QSize(660, 530))));
}

// An area that does not start at 0 (a panel at the top of the screen, a frame partly off the
// screen), and a window larger than the area: it starts at the area's top left, so its title bar
// and menus can be reached.
TEST(KeepInside, OffsetAreasAndWindowsLargerThanTheArea)
{
    const QRect belowPanel(0, 32, 1600, 968);
    EXPECT_EQ(KeepInside({10, 0}, {400, 300}, belowPanel), QPoint(10, 32));
    EXPECT_EQ(KeepInside({10, 900}, {400, 300}, belowPanel), QPoint(10, 700));
    const QRect visiblePart(300, 0, 500, 400);
    EXPECT_EQ(KeepInside({0, 0}, {200, 100}, visiblePart), QPoint(300, 0));
    EXPECT_EQ(KeepInside({700, 500}, {900, 700}, visiblePart), QPoint(300, 0));
}
