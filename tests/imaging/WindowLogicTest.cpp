// The image processor window's plain logic: the preview's fitting rule, the proportional size
// boxes and the crop rectangle.
#include "imaging/window/CropSelection.h"
#include "imaging/pipeline/NumericText.h"
#include "imaging/window/PreviewFit.h"
#include "imaging/window/SizeBoxes.h"

#include <gtest/gtest.h>

TEST(PreviewFit, SmallImagesKeepTheirSizeLargeOnesFitTheirLongerSide)
{
    const int maxW = 8985, maxH = 6255;
    auto fit = [&](int w, int h) {
        const PreviewSize s = FitPreview(maxW, maxH, w, h).value();
        return std::pair(s.width, s.height);
    };
    EXPECT_EQ(fit(1500, 1200), std::pair(1500.0, 1200.0));
    EXPECT_EQ(fit(8985, 6255), std::pair(8985.0, 6255.0));
    // Wide: the area's width, the height in proportion.
    EXPECT_EQ(fit(18000, 4500), std::pair(8985.0, 8985.0 * 4500 / 18000));
    // Tall (height / width above the area's): the area's height.
    EXPECT_EQ(fit(4500, 13500), std::pair(6255.0 * 4500 / 13500, 6255.0));
    // Only one side too large still fits by the ratio.
    EXPECT_EQ(fit(9000, 1000), std::pair(8985.0, 8985.0 * 1000 / 9000));
    // A product beyond 32 bits is an overflow, as the rule's integer product is.
    EXPECT_FALSE(FitPreview(maxW, maxH, 400000, 300000).has_value());
}

TEST(SizeBoxes, TypingFiftyWithProportionalHalvesBothSidesRoundingHalfToEven)
{
    SizeBoxes boxes;
    boxes.setImageSize(101, 81);
    boxes.change(SizeBoxes::WidthPixels, "101");
    boxes.change(SizeBoxes::HeightPixels, "81");
    EXPECT_EQ(boxes.text(SizeBoxes::Width), "100");
    EXPECT_TRUE(boxes.change(SizeBoxes::Width, "50").empty());
    EXPECT_EQ(boxes.text(SizeBoxes::Height), "50");
    EXPECT_EQ(boxes.text(SizeBoxes::WidthPixels), "50");    // 50.5
    EXPECT_EQ(boxes.text(SizeBoxes::HeightPixels), "40");   // 40.5
}

TEST(SizeBoxes, APixelValueTypedIsKeptAndTheOthersFollowIt)
{
    SizeBoxes boxes;
    boxes.setImageSize(483, 2030);
    boxes.change(SizeBoxes::HeightPixels, "1935");
    EXPECT_EQ(boxes.text(SizeBoxes::HeightPixels), "1935");
    EXPECT_EQ(boxes.text(SizeBoxes::Height), "95");          // 95.32
    EXPECT_EQ(boxes.text(SizeBoxes::WidthPixels), "460");    // 460.39
    EXPECT_EQ(boxes.text(SizeBoxes::Width), "95");           // 95.24

    boxes.setProportional(false);
    boxes.change(SizeBoxes::WidthPixels, "966");
    EXPECT_EQ(boxes.text(SizeBoxes::Width), "200");
    EXPECT_EQ(boxes.text(SizeBoxes::HeightPixels), "1935");
    boxes.change(SizeBoxes::Height, "10");
    EXPECT_EQ(boxes.text(SizeBoxes::HeightPixels), "203");
    EXPECT_EQ(boxes.text(SizeBoxes::Width), "200");
}

TEST(SizeBoxes, ZeroOrLessIsNotAllowedAndChangesNoOtherBox)
{
    SizeBoxes boxes;
    boxes.setImageSize(640, 480);
    boxes.change(SizeBoxes::WidthPixels, "640");
    const std::vector<Outcome> width = boxes.change(SizeBoxes::Width, "0");
    ASSERT_EQ(width.size(), 1u);
    EXPECT_EQ(width[0].message, "Image width = 0 %  is not allowed!");
    EXPECT_EQ(width[0].title, "Error");
    const std::vector<Outcome> height = boxes.change(SizeBoxes::HeightPixels, "-3");
    ASSERT_EQ(height.size(), 1u);
    EXPECT_EQ(height[0].message, "Image  height = -3 %  is not allowed!");
    EXPECT_EQ(boxes.text(SizeBoxes::Height), "100");
    EXPECT_EQ(boxes.text(SizeBoxes::WidthPixels), "640");
    // Text that is no number is left alone, silently; so is any text before an image is known.
    EXPECT_TRUE(boxes.change(SizeBoxes::Height, "5x").empty());
    EXPECT_EQ(boxes.text(SizeBoxes::HeightPixels), "-3");
    EXPECT_EQ(boxes.text(SizeBoxes::Width), "0");
    SizeBoxes fresh;
    EXPECT_TRUE(fresh.change(SizeBoxes::Width, "50").empty());
    EXPECT_EQ(fresh.text(SizeBoxes::WidthPixels), "0");
}

TEST(SizeBoxes, ASizeBeyondThirtyTwoBitsSaysOverflowAndLeavesTheBoxesAfterIt)
{
    SizeBoxes boxes;
    boxes.setImageSize(640, 480);
    boxes.change(SizeBoxes::WidthPixels, "640");
    const std::vector<Outcome> huge = boxes.change(SizeBoxes::Width, "1E+12");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].message, "Overflow");
    EXPECT_EQ(huge[0].icon(), MsgIcon::None);
    EXPECT_EQ(boxes.text(SizeBoxes::WidthPixels), "640");
    EXPECT_EQ(boxes.text(SizeBoxes::Height), "100");
}

// A preview of 8985 x 2246.25 twips showing an image of 1200 x 300 pixels: 7.4875 twips a
// pixel both ways.
TEST(CropSelection, DraggingInAnyDirectionBetweenTwoPointsGivesTheSameCrop)
{
    const QSizeF preview(8985, 2246.25);
    const float sx = float(8985 / 1200.0), sy = float(2246.25 / 300.0);
    const QPointF corners[4] = {{1500.4, 300.6}, {6000, 1800}, {1500.4, 1800}, {6000, 300.6}};
    CropValues first;
    const int drags[4][2] = {{0, 1}, {1, 0}, {2, 3}, {3, 2}};
    for (int d = 0; d < 4; ++d) {
        CropSelection crop;
        crop.press(corners[drags[d][0]], sx, sy);
        const CropValues v = crop.move(corners[drags[d][1]], preview, sx, sy);
        if (d == 0) {
            first = v;
            EXPECT_EQ(v.rectangle, QRectF(QPointF(1500, 301), QPointF(6000, 1800)));
            EXPECT_EQ(v.left, 200);     // 1500 / 7.4875 = 200.33
            EXPECT_EQ(v.top, 40);       // 301 / 7.4875 = 40.2
            EXPECT_EQ(v.right, 801);    // 801.34
            EXPECT_EQ(v.bottom, 240);   // 240.4
            EXPECT_EQ(v.width, 601);    // 4500 / 7.4875 = 601.0
            EXPECT_EQ(v.height, 200);   // 1499 / 7.4875 = 200.2
            continue;
        }
        EXPECT_EQ(v.rectangle, first.rectangle) << d;
        EXPECT_EQ(std::tuple(v.left, v.top, v.right, v.bottom, v.width, v.height),
                  std::tuple(first.left, first.top, first.right, first.bottom, first.width, first.height))
            << d;
    }
}

TEST(CropSelection, ThePointStaysInsideThePreviewAndMovesEdgesAcrossTheAnchor)
{
    CropSelection crop;
    const CropValues pressed = crop.press({100, 100}, 2, 2);
    EXPECT_EQ(pressed.rectangle, QRectF(100, 100, 0, 0));
    EXPECT_EQ(pressed.left, 50);
    EXPECT_EQ(pressed.top, 50);
    CropValues v = crop.move({5000, -40}, QSizeF(1000, 800), 2, 2);
    EXPECT_EQ(v.rectangle, QRectF(QPointF(100, 0), QPointF(999, 100)));
    EXPECT_EQ(v.right, 500);   // 499.5, half to even
    v = crop.move({20, 300}, QSizeF(1000, 800), 2, 2);
    EXPECT_EQ(v.rectangle, QRectF(QPointF(20, 100), QPointF(100, 300)));
    EXPECT_EQ(v.left, 10);
    EXPECT_EQ(v.bottom, 150);
    EXPECT_TRUE(v.outcome.ok);
    EXPECT_EQ(crop.move({20, 300}, QSizeF(1000, 800), 0, 2).outcome.message, "Division by zero");
    EXPECT_EQ(crop.move({999, 300}, QSizeF(1000, 800), 0.01f, 2).outcome.message, "Overflow");
}
