// The lenient parse: the leading number of a text, as the classic runtime's Val reads it.
#include "general/General.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace general {

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int DigitValue(QChar c, int base)
{
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c.unicode() - u'A' + 10;
    return v < base ? v : -1;
}

// Reads text[i...] as the number of a "&H" / "&O" prefix; blanks between digits are skipped.
double ReadBasedInteger(QStringView text, qsizetype i, int base)
{
    double value = 0;
    for (; i < text.size(); ++i) {
        if (IsBlank(text[i]))
            continue;
        const int v = DigitValue(text[i], base);
        if (v < 0)
            break;
        value = value * base + v;
    }
    return value;
}

// The power of ten just above a plain decimal number text ("-123.4e5" gives 8); only its sign
// matters, to tell an overflow from an underflow.
long long DecimalMagnitude(const std::string& number)
{
    long long magnitude = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    size_t i = number[0] == '-' ? 1 : 0;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.')
            seenPoint = true;
        else if (!seenPoint && (seenNonZero || c != '0'))
            ++magnitude, seenNonZero = true;
        else if (seenPoint && !seenNonZero && c == '0')
            --magnitude;
        else if (c != '0')
            seenNonZero = true;
    }
    if (i < number.size()) {
        long long exponent = 0;
        const bool minus = number[i + 1] == '-';
        for (size_t j = i + 1; j < number.size(); ++j)
            if (number[j] >= '0' && number[j] <= '9')
                exponent = std::min(exponent * 10 + (number[j] - '0'), 1LL << 40);
        magnitude += minus ? -exponent : exponent;
    }
    return magnitude;
}

} // namespace

double Val(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Blanks are skipped wherever they stand inside the number ("1 000" reads 1000).
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i]))
            ++i;
    };
    auto isDigit = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };

    skipBlanks();
    if (i + 1 < n && text[i] == u'&') {
        const QChar kind = text[i + 1].toUpper();
        if (kind == u'H')
            return ReadBasedInteger(text, i + 2, 16);
        if (kind == u'O')
            return ReadBasedInteger(text, i + 2, 8);
        return 0;
    }

    std::string number;  // plain ASCII for from_chars, which ignores the locale
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (;; ++i) {
        skipBlanks();
        if (isDigit(i)) {
            number += char(text[i].unicode());
            anyDigit = true;
        } else if (i < n && text[i] == u'.' && !seenPoint) {
            number += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;

    // An exponent counts only when digits follow its letter and optional sign ("1E" reads 1).
    if (i < n && (text[i].toUpper() == u'E' || text[i].toUpper() == u'D')) {
        ++i;
        skipBlanks();
        std::string exponent = "e";
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            exponent += char(text[i].unicode());
            ++i;
        }
        bool expDigit = false;
        for (;; ++i) {
            skipBlanks();
            if (!isDigit(i))
                break;
            exponent += char(text[i].unicode());
            expDigit = true;
        }
        if (expDigit)
            number += exponent;
    }

    double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    const bool negative = *first == '-';
    auto res = std::from_chars(first, last, value);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone: beyond the double range is infinite, below it zero.
        const double infinity = std::numeric_limits<double>::infinity();
        value = DecimalMagnitude(number) > 0 ? infinity : 0.0;
        if (negative)
            value = -value;
    }
    return value;
}

} // namespace general
