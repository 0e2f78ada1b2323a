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
// Independent of the locale: the decimal point is always ".". NaN and infinities give "NaN",
// "Inf" and "-Inf".
QString NumText(double value);
// The same text with at most the given number of significant digits (1..17); 7 suits values
// kept in single precision.
QString NumText(double value, int significantDigits);

// The lenient parse: the leading number of the text ("." decimal point, optional sign, digits,
// optional exponent), leading blanks skipped; 0 for an empty or non-numeric text.
// Blanks (space, tab, line feed) inside the number are skipped ("1 000" reads 1000); the exponent
// letter is E or D and counts only when digits follow ("1E" reads 1); "&H" and "&O" read hex and
// octal integers (as non-negative values). A number beyond the double range reads as an infinity
// of its sign, one below it as 0. Never throws.
double Val(QStringView text);

// Rounding to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
double Round(double value);
// Rounding to a given number of decimals (negative: tens, hundreds...), halves to even as the
// value's 15-digit decimal text reads (Round(2.675, 2) is 2.68, Round(0.125, 2) is 0.12);
// with 0 decimals the same as Round(value).
double Round(double value, int decimals);
// The largest integer not above the value.
double Int(double value);
// Conversions that round half to even and raise OverflowError outside the type's range
// (NaN and infinities included).
std::int16_t CInt(double value);
std::int32_t CLng(double value);
// The same conversions for code that goes on after an overflow: nothing outside the range.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// Formats a number with a pattern of '#', '0', ',', '.' and literal text
// ("##0.0####", "####.000", "###,###,###", " ##.## "). Decimals round half away from zero;
// the rules are written out in FormatPattern.cpp.
QString Format(double value, QStringView pattern);

// The general date-time text used wherever a date is shown ("2026-12-08 14:05:09"), and a lenient
// parser that also takes a date alone, a time alone (today), and "/" or "." as date separators.
// DateText always includes the time ("2026-12-08 00:00:00"); an invalid date-time gives "".
// The accepted forms are listed in DateText.cpp; ParseDateText never throws.
QString DateText(const QDateTime& when);
std::optional<QDateTime> ParseDateText(QStringView text);

} // namespace general
