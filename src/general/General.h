#pragma once
// The language-runtime behaviours KIVRA relies on: the general number text, the lenient parse,
// the roundings and conversions, the Format patterns, and one general date-time text.

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace general {

// Raised by the 16- and 32-bit conversions when the rounded value does not fit.
class OverflowError : public std::overflow_error {
public:
    OverflowError() : std::overflow_error("Overflow") {}
};

// The general number text: shortest text giving the value to at most 15 significant digits,
// no leading blank, "0.5" for .5, exponent form ("1E-05", "1E+15") below 0.0001 and from 1E+15.
QString NumText(double value);

// The lenient parse: the leading number of the text ("." decimal point, optional sign, digits,
// optional exponent), leading blanks skipped; 0 for an empty or non-numeric text.
double Val(QStringView text);

// Rounding to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
double Round(double value);
// Rounding to a given number of decimals, halves to even on the scaled value.
double Round(double value, int decimals);
// The largest integer not above the value.
double Int(double value);
// Conversions that round half to even and raise OverflowError outside the type's range.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// Formats a number with a pattern of '#', '0', ',', '.' and literal text
// ("##0.0####", "####.000", "###,###,###", " ##.## ").
QString Format(double value, QStringView pattern);

// The general date-time text used wherever a date is shown ("2026-12-08 14:05:09"), and a lenient
// parser that also takes a date alone, a time alone (today), and "/" or "." as date separators.
QString DateText(const QDateTime& when);
std::optional<QDateTime> ParseDateText(QStringView text);

} // namespace general
