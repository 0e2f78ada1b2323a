#include "general/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace general {

namespace {

void StripTrailingZeros(DecimalDigits& d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.point = 0;
}

} // namespace

DecimalDigits DecimalDigits::FromDouble(double value, int significantDigits)
{
    DecimalDigits d;
    d.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return d;
    significantDigits = std::clamp(significantDigits, 1, 17);
    // "d.ddde+XX": to_chars ignores the locale, unlike printf, whose decimal point follows it.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             significantDigits - 1);
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            d.digits.push_back(*p);
    int exponent = 0;
    if (p < res.ptr) {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, res.ptr, exponent);
    }
    d.point = exponent + 1;
    StripTrailingZeros(d);
    return d;
}

bool DecimalDigits::RoundToDecimals(int decimals, Half half)
{
    // Digit index of the last digit kept: digit i weighs 10^(point - 1 - i).
    const long long keep = static_cast<long long>(point) + decimals;
    if (keep >= static_cast<long long>(digits.size()))
        return false;
    if (keep < 0) {  // the whole value lies below a tenth of the unit kept
        digits.clear();
        point = 0;
        return true;
    }
    const size_t k = size_t(keep);
    bool up;
    if (digits[k] != '5')
        up = digits[k] > '5';
    else if (k + 1 < digits.size())  // more digits follow: above the half (no trailing zeros)
        up = true;
    else if (half == Half::AwayFromZero)
        up = true;
    else
        up = k > 0 && (digits[k - 1] - '0') % 2 == 1;  // to the even neighbour
    digits.resize(k);
    if (up) {
        long long i = static_cast<long long>(k) - 1;
        for (; i >= 0 && digits[size_t(i)] == '9'; --i)
            digits[size_t(i)] = '0';
        if (i >= 0) {
            ++digits[size_t(i)];
        } else {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    StripTrailingZeros(*this);
    return true;
}

double DecimalDigits::ToDouble() const
{
    if (digits.empty())
        return 0.0;
    const std::string text = "0." + digits + "e" + std::to_string(point);
    double value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range)
        value = point > 0 ? std::numeric_limits<double>::max() : 0.0;
    return negative ? -value : value;
}

} // namespace general
