#include "imaging/SizeBoxes.h"

#include "general/General.h"
#include "imaging/NumericText.h"
#include "text/LoadText.h"

namespace {
// Deeper than any settling the rounding allows; a guard against a loop, not a limit in use.
constexpr int kMaxDepth = 64;

QString Rounded(double value)
{
    return QString::number(general::CLng(value));
}
}

void SizeBoxes::setImageSize(int width, int height)
{
    imageWidth_ = width;
    imageHeight_ = height;
}

std::vector<Outcome> SizeBoxes::change(Box box, const QString& text)
{
    std::vector<Outcome> messages;
    try {
        assign(box, text, messages, 0);
    } catch (const general::OverflowError& error) {
        messages.push_back(Outcome::Failure(error.what(), QString(), QStringLiteral("overflow"), MsgIcon::None));
    }
    return messages;
}

void SizeBoxes::assign(Box box, const QString& text, std::vector<Outcome>& messages, int depth)
{
    if (texts_[box] == text || depth > kMaxDepth) return;
    texts_[box] = text;
    react(box, messages, depth + 1);
}

void SizeBoxes::react(Box box, std::vector<Outcome>& messages, int depth)
{
    const QString typed = texts_[box];
    if (!IsNumeric(typed)) return;
    const double value = general::Val(typed);
    if (value <= 0) {
        const bool height = box == Height || box == HeightPixels;
        messages.push_back(Outcome::Failure(LoadText(height ? 643 : 644) + typed + " " + LoadText(468),
                                            LoadText(402), QStringLiteral("size not above 0"),
                                            MsgIcon::None));
        return;
    }
    if (imageWidth_ == 0 || imageHeight_ == 0) return;
    const double w = imageWidth_, h = imageHeight_;
    auto val = [this](Box b) { return general::Val(texts_[b]); };
    switch (box) {
    case Height:
        assign(HeightPixels, Rounded(value * h / 100), messages, depth);
        if (proportional_) {
            assign(Width, texts_[Height], messages, depth);
            assign(WidthPixels, Rounded(val(Width) * w / 100), messages, depth);
        }
        break;
    case Width:
        assign(WidthPixels, Rounded(value * w / 100), messages, depth);
        if (proportional_) {
            assign(Height, texts_[Width], messages, depth);
            assign(HeightPixels, Rounded(val(Height) * h / 100), messages, depth);
        }
        break;
    case HeightPixels:
        assign(Height, Rounded(value * 100 / h), messages, depth);
        if (proportional_) {
            assign(WidthPixels, Rounded(value * w / h), messages, depth);
            assign(Width, Rounded(val(WidthPixels) * 100 / w), messages, depth);
        }
        break;
    case WidthPixels:
        assign(Width, Rounded(value * 100 / w), messages, depth);
        if (proportional_) {
            assign(HeightPixels, Rounded(value * h / w), messages, depth);
            assign(Height, Rounded(val(HeightPixels) * 100 / h), messages, depth);
        }
        break;
    }
}
