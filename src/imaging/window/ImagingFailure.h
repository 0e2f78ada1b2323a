#pragma once
// A run-time failure of the image processor window as it shows it: the description alone
// ("Overflow", "Division by zero", "Cannot read the image file ..."), no title, no icon.
#include "platform/ui/Outcome.h"

inline Outcome ImagingFailure(const QString& description)
{
    return Outcome::Failure(description, QString(), description, MsgIcon::None);
}
