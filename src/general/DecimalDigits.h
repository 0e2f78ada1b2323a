#pragma once
// A number as decimal digits: the form in which the general number text, the Format patterns and
// the rounding to decimals see a double. Internal to src/general.

#include <string>

namespace general {

class DecimalDigits {
public:
    enum class Half { ToEven, AwayFromZero };

    // The finite value rounded to the given number of significant digits (1..17), correctly
    // rounded from its exact binary value. The sign is kept apart; zero has no digits.
    static DecimalDigits FromDouble(double value, int significantDigits = 15);

    // Rounds to a number of decimals (negative: to tens, hundreds...), halves as asked.
    // Returns false when the digits already fit and nothing changed.
    bool RoundToDecimals(int decimals, Half half);

    // The nearest double; beyond the double range, the largest finite double of that sign.
    double ToDouble() const;

    bool IsZero() const { return digits.empty(); }
    // The digit at index i of `digits`, '0' outside them (leading and trailing zeros).
    char Digit(int i) const { return i >= 0 && i < int(digits.size()) ? digits[size_t(i)] : '0'; }

    // value = 0.d0 d1 d2 ... x 10^point, digits without leading or trailing zeros.
    bool negative = false;
    std::string digits;
    int point = 0;
};

} // namespace general
