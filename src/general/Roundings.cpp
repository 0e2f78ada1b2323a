// Round, Int and the 16- and 32-bit conversions.
#include "general/DecimalDigits.h"
#include "general/General.h"

#include <cmath>

namespace general {

double Round(double value)
{
    if (!std::isfinite(value))
        return value;
    // Written out rather than left to the floating-point environment's rounding mode.
    // value - floor(value) is exact for every double; from 2^52 up every double is whole.
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

double Round(double value, int decimals)
{
    if (decimals == 0)
        return Round(value);
    if (!std::isfinite(value))
        return value;
    // The halves are those of the value's 15-digit decimal text, so Round(2.675, 2) is 2.68
    // as the number reads, although the double nearest 2.675 lies a little below it.
    DecimalDigits d = DecimalDigits::FromDouble(value);
    if (!d.RoundToDecimals(decimals, DecimalDigits::Half::ToEven))
        return value;
    return d.ToDouble();
}

double Int(double value)
{
    return std::floor(value);
}

std::optional<std::int16_t> ToInt16(double value)
{
    const double r = Round(value);
    if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;  // NaN fails both comparisons
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> ToInt32(double value)
{
    const double r = Round(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::int16_t CInt(double value)
{
    const auto r = ToInt16(value);
    if (!r) throw OverflowError();
    return *r;
}

std::int32_t CLng(double value)
{
    const auto r = ToInt32(value);
    if (!r) throw OverflowError();
    return *r;
}

} // namespace general
