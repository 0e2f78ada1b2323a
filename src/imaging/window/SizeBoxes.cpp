#include "imaging/window/SizeBoxes.h"

#include "general/General.h"
#include "imaging/pipeline/NumericText.h"
#include "text/LoadText.h"

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
    react(box, messages);
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
    // Each box takes its value rounded half to even; a value beyond 32 bits says "Overflow" and
    // leaves that box and the ones after it as they were.
    auto set = [&](Box b, double v) {
        const auto rounded = general::ToInt32(v);
        if (!rounded) {
            messages.push_back(Outcome::Failure(QStringLiteral("Overflow"), QString(), QStringLiteral("overflow"),
                                                MsgIcon::None));
            return false;
        }
        texts_[b] = QString::number(*rounded);
        return true;
    };
    switch (box) {
    case Height:
        if (set(HeightPixels, value * h / 100) && proportional_) {
            texts_[Width] = typed;
            set(WidthPixels, val(Width) * w / 100);
        }
        break;
    case Width:
        if (set(WidthPixels, value * w / 100) && proportional_) {
            texts_[Height] = typed;
            set(HeightPixels, val(Height) * h / 100);
        }
        break;
    case HeightPixels:
        if (set(Height, value * 100 / h) && proportional_ && set(WidthPixels, value * w / h))
            set(Width, val(WidthPixels) * 100 / w);
        break;
    case WidthPixels:
        if (set(Width, value * 100 / w) && proportional_ && set(HeightPixels, value * h / w))
            set(Height, val(HeightPixels) * 100 / h);
        break;
    }
}
