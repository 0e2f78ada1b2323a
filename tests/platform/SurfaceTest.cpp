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

// Each primitive is drawn in its own colour and width, however many before it share theirs.
TEST(Surface, EveryPrimitiveKeepsItsOwnPen)
{
    Surface s(1500, 1500);   // 100 × 100 pixels
    for (int x = 0; x < 600; x += 15) s.Line(x, 150, x + 15, 150, Qt::red);
    s.Line(0, 300, 600, 300, Qt::blue);
    s.FillBox(0, 450, 600, 600, Qt::green);
    s.Line(0, 750, 600, 750, Qt::red);
    s.SetDrawWidth(5);
    s.Line(0, 1050, 600, 1050, Qt::red);
    s.PSet(900, 1050, Qt::blue);
    s.SetDrawWidth(1);
    s.Line(0, 1350, 600, 1350, Qt::red);
    const QImage image = s.ToImage();
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(20, 35), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(20, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 72), QColor(Qt::red));   // 5 pixels wide: rows 68 to 72
    EXPECT_EQ(image.pixelColor(62, 72), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(20, 92), QColor(Qt::white));  // 1 pixel wide again
    EXPECT_EQ(image.pixelColor(20, 90), QColor(Qt::red));
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
