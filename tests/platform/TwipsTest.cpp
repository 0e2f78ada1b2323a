// The one mapping between an area's pixels and its twips, which the picture boxes and the image
// processor's preview share.
#include "platform/ui/Twips.h"

#include <gtest/gtest.h>

TEST(Twips, AnAreaMapsEachAxisByItsOwnRatioAndAnAxisWithoutSizeBy15)
{
    const QSizeF twips(9000, 3000), pixels(600, 100);
    EXPECT_EQ(twips::PointToTwips(QPointF(10, 10), twips, pixels), QPointF(150, 300));
    EXPECT_EQ(twips::PointToPixels(QPointF(150, 300), twips, pixels), QPointF(10, 10));
    // No twip size (a surface never sized), or a widget of no pixels: 96 dpi.
    EXPECT_EQ(twips::PointToTwips(QPointF(2, 4), QSizeF(0, 3000), pixels), QPointF(30, 120));
    EXPECT_EQ(twips::PointToTwips(QPointF(2, 4), twips, QSizeF(600, 0)), QPointF(30, 60));
    EXPECT_EQ(twips::ToPixels(22.5), 2);   // halves away from zero
    EXPECT_EQ(twips::FromPixels(-1.5), -23);
}
