#pragma once
// The four size boxes of the image processor (width and height in percent of the image, and in
// pixels), which follow each other: a change of one box's text computes the others from it.
//
// The value typed is kept and the others are computed from it once. Letting each computed box
// react in turn, as change events chain, lets the roundings play against each other: a typed
// pixel size comes back altered (1935 becomes 1933 on a 483 x 2030 image) and for some sizes
// (101 x 81 at 50%) the boxes never settle and the chain runs out of stack.
#include "platform/ui/Outcome.h"

#include <QString>

#include <array>
#include <vector>

class SizeBoxes {
public:
    enum Box { Width, Height, WidthPixels, HeightPixels };   // Text_width, Text_height, Text_widthp, Text_heightp

    const QString& text(Box box) const { return texts_[box]; }
    void setImageSize(int width, int height);
    void setProportional(bool on) { proportional_ = on; }
    bool proportional() const { return proportional_; }

    // A box's text becomes text (typed, or assigned by the window); when it differs from what the
    // box held, the box reacts:
    // - a text that is not a number: nothing;
    // - a number not above 0: the message "Image width = " (or "Image  height = "), the text and
    //   "%  is not allowed!", titled "Error"; no other box changes;
    // - with an image size known: a percentage sets its pixel box (percent * size / 100) and,
    //   with Proportional, the other percentage takes the same text and its pixel box follows;
    //   a pixel value sets its percentage (pixels * 100 / size) and, with Proportional, the other
    //   pixel box (pixels * other size / size) and then its percentage. Results are rounded half
    //   to even.
    // Returns the messages to show, in order.
    std::vector<Outcome> change(Box box, const QString& text);

private:
    void react(Box box, std::vector<Outcome>& messages);

    std::array<QString, 4> texts_{QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("0"),
                                   QStringLiteral("0")};
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    bool proportional_ = true;
};
