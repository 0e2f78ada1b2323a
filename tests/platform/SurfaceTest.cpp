#include "platform/ui/Surface.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(Surface, DrawingIsKeptInTwipsAndScaledToAnyImageSize)
{
    Surface s(1500, 750);
    s.SetBackColor(Qt::white);
    s.Line(0, 375, 1500, 375, QColor(0, 0, 192));
    EXPECT_EQ(s.PrimitiveCount(), 1u);
    EXPECT_TRUE(s.HasInkIn(700, 370, 800, 380, QColor(0, 0, 192)));
    EXPECT_FALSE(s.HasInkIn(0, 0, 1500, 300, QColor(0, 0, 192)));

    const QImage normal = s.ToImage();           // 15 twips per pixel
    EXPECT_EQ(normal.size(), QSize(100, 50));
    EXPECT_EQ(normal.pixelColor(50, 25), QColor(0, 0, 192));
    EXPECT_EQ(normal.pixelColor(50, 10), QColor(Qt::white));
    const QImage doubled = s.ToImage(QSize(200, 100));
    EXPECT_EQ(doubled.pixelColor(150, 50), QColor(0, 0, 192));
}

TEST(Surface, ClsAndNewBackgroundClearTheDrawing)
{
    Surface s(300, 300);
    s.PSet(10, 10, Qt::red);
    s.CurrentX = 0;
    s.CurrentY = 0;
    s.Print("Channel L");
    EXPECT_EQ(s.PrimitiveCount(), 2u);
    s.Cls();
    EXPECT_EQ(s.PrimitiveCount(), 0u);
    s.LineTo(100, 100, Qt::blue);
    EXPECT_TRUE(s.HasInkIn(0, 0, 5, 5, Qt::blue));
    s.SetBackColor(Qt::blue);
    EXPECT_EQ(s.PrimitiveCount(), 0u);
    EXPECT_EQ(s.ToImage().pixelColor(5, 5), QColor(Qt::blue));
}
