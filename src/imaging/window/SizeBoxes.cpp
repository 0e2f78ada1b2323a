#include "imaging/window/SizeBoxes.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"
#include "text/LoadText.h"

namespace {
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
    if (texts_[box] == text) return messages;
    texts_[box] = text;
    try {
        react(box, messages);
    } catch (const general::OverflowError& error) {
        messages.push_back(Outcome::Failure(error.what(), QString(), QStringLiteral("overflow"), MsgIcon::None));
    }
    return messages;
}

void SizeBoxes::react(Box box, std::vector<Outcome>& messages)
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
        texts_[HeightPixels] = Rounded(value * h / 100);
        if (proportional_) {
            texts_[Width] = typed;
            texts_[WidthPixels] = Rounded(val(Width) * w / 100);
        }
        break;
    case Width:
        texts_[WidthPixels] = Rounded(value * w / 100);
        if (proportional_) {
            texts_[Height] = typed;
            texts_[HeightPixels] = Rounded(val(Height) * h / 100);
        }
        break;
    case HeightPixels:
        texts_[Height] = Rounded(value * 100 / h);
        if (proportional_) {
            texts_[WidthPixels] = Rounded(value * w / h);
            texts_[Width] = Rounded(val(WidthPixels) * 100 / w);
        }
        break;
    case WidthPixels:
        texts_[Width] = Rounded(value * 100 / w);
        if (proportional_) {
            texts_[HeightPixels] = Rounded(value * h / w);
            texts_[Height] = Rounded(val(HeightPixels) * 100 / h);
        }
        break;
    }
}
