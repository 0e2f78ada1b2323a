// The general number text: what every label and text box shows of a number.
#include "general/DecimalDigits.h"
#include "general/General.h"

#include <cmath>
#include <cstdlib>

namespace general {

QString NumText(double value, int significantDigits)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    const DecimalDigits d = DecimalDigits::FromDouble(value, significantDigits);
    if (d.IsZero())
        return QStringLiteral("0");  // also for -0

    std::string text;
    if (d.negative)
        text += '-';
    const int n = int(d.digits.size());
    const int exponent = d.point - 1;  // of the first digit
    if (exponent < -4 || exponent >= 15) {
        // 1E-05, 1.5E-07, -2.5E+20: shortest mantissa, signed exponent of at least two digits.
        text += d.digits[0];
        if (n > 1) {
            text += '.';
            text.append(d.digits, 1);
        }
        text += exponent < 0 ? "E-" : "E+";
        const int e = std::abs(exponent);
        if (e < 10)
            text += '0';
        text += std::to_string(e);
    } else if (d.point <= 0) {
        text += "0.";
        text.append(size_t(-d.point), '0');
        text += d.digits;
    } else if (d.point >= n) {
        text += d.digits;
        text.append(size_t(d.point - n), '0');
    } else {
        text.append(d.digits, 0, size_t(d.point));
        text += '.';
        text.append(d.digits, size_t(d.point));
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString NumText(double value)
{
    return NumText(value, 15);
}

} // namespace general
