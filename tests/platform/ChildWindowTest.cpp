// Where a tool window goes in the frame: its own size when it fits, else scaled down, and
// always inside the area.
#include "platform/ui/ChildWindow.h"

#include <gtest/gtest.h>

TEST(FitChildGeometry, FitsScalesAndStaysInside)
{
    const QSize area(800, 500);
    // Fits: as wanted.
    EXPECT_EQ(FitChildGeometry({5, 3, 747, 560 - 100}, area, {300, 200}), QRect(5, 3, 747, 460));
    // Too tall and wide: scaled keeping its proportions, where it was as far as it fits.
    EXPECT_EQ(FitChildGeometry({5, 3, 1000, 1000}, area, {300, 200}), QRect(5, 0, 500, 500));
    // Never below the minimum, even if that leaves part of it outside.
    EXPECT_EQ(FitChildGeometry({0, 0, 2000, 2000}, {100, 100}, {300, 200}), QRect(0, 0, 300, 200));
    // Placed mostly outside (a spectrum window at the right of a small frame): moved in.
    EXPECT_EQ(FitChildGeometry({700, 450, 400, 300}, area, {100, 100}), QRect(400, 200, 400, 300));
}
