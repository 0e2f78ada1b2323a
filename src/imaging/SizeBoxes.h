#pragma once
// The four size boxes of the image processor (width and height in percent of the image, and in
// pixels), which follow each other: a change of one box's text computes the others, and each box
// whose text is changed that way reacts in turn, until no text changes any more.
#include "platform/Outcome.h"

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
    // - with an image size known: a percentage sets its pixel box (percent * size / 100), a pixel
    //   value its percentage (pixels * 100 / size), and with Proportional the other dimension
    //   follows; results are rounded half to even.
    // Returns the messages to show, in order.
    std::vector<Outcome> change(Box box, const QString& text);

private:
    void assign(Box box, const QString& text, std::vector<Outcome>& messages, int depth);
    void react(Box box, std::vector<Outcome>& messages, int depth);

    std::array<QString, 4> texts_{QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("0"),
                                   QStringLiteral("0")};
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    bool proportional_ = true;
};
