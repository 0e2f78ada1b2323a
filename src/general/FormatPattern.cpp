// Format(value, pattern): the numeric patterns of the read-outs ("##0.0####", "###,##0", ...).
//
// In the pattern, '0' is a digit or a zero, '#' a digit or nothing, the first '.' the decimal
// point, a ',' standing between two digit places before the point switches on thousands
// grouping, "\x" and "text in quotes" are literal, and every other character is literal too.
// The value is rounded to the pattern's decimal places with halves away from zero, on its
// 15-digit decimal text (Format(1.005, "0.00") is "1.01", Format(2.5, "0") is "3"). Integer digits
// beyond the pattern's places all show; '#' places show nothing for leading zeros, so a value
// below one shows nothing before the point with "##.##" (".5"), and '#' decimal places drop
// trailing zeros while the point stays ("5." for 5 with "#.##"). A negative value gets a "-" in
// front of everything, unless it rounds to zero. An empty pattern gives the general number text.
#include "general/DecimalDigits.h"
#include "general/General.h"

#include <cmath>
#include <vector>

namespace general {

namespace {

struct Token {
    enum Kind { Zero, Hash, Point, Comma, Literal } kind;
    QString text;  // for literals
    bool IsDigitPlace() const { return kind == Zero || kind == Hash; }
};

std::vector<Token> Tokenise(QStringView pattern)
{
    std::vector<Token> tokens;
    bool seenPoint = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'0') {
            tokens.push_back({Token::Zero, {}});
        } else if (c == u'#') {
            tokens.push_back({Token::Hash, {}});
        } else if (c == u'.' && !seenPoint) {
            tokens.push_back({Token::Point, {}});
            seenPoint = true;
        } else if (c == u',' && !seenPoint) {
            tokens.push_back({Token::Comma, QStringLiteral(",")});
        } else if (c == u'\\' && i + 1 < pattern.size()) {
            tokens.push_back({Token::Literal, QString(pattern[++i])});
        } else if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            tokens.push_back({Token::Literal, pattern.mid(i + 1, stop - i - 1).toString()});
            i = stop;
        } else {
            tokens.push_back({Token::Literal, QString(c)});
        }
    }
    return tokens;
}

} // namespace

QString Format(double value, QStringView pattern)
{
    if (pattern.isEmpty() || !std::isfinite(value))
        return NumText(value);

    std::vector<Token> tokens = Tokenise(pattern);
    size_t pointAt = tokens.size();
    for (size_t t = 0; t < tokens.size(); ++t)
        if (tokens[t].kind == Token::Point)
            pointAt = t;

    // A comma with digit places on both sides (before the point) groups; any other is literal.
    bool grouping = false;
    for (size_t t = 0; t < pointAt; ++t) {
        if (tokens[t].kind != Token::Comma)
            continue;
        bool placeBefore = false, placeAfter = false;
        for (size_t u = 0; u < t; ++u)
            placeBefore = placeBefore || tokens[u].IsDigitPlace();
        for (size_t u = t + 1; u < pointAt; ++u)
            placeAfter = placeAfter || tokens[u].IsDigitPlace();
        if (placeBefore && placeAfter)
            grouping = true;
        else
            tokens[t].kind = Token::Literal;
    }

    // Integer places, and how many always show (from the first '0' on); decimal places, and how
    // many always show (up to the last '0').
    int intPlaces = 0, intMinimum = 0, decPlaces = 0, decMinimum = 0;
    for (size_t t = 0; t < tokens.size(); ++t) {
        if (!tokens[t].IsDigitPlace())
            continue;
        if (t < pointAt) {
            ++intPlaces;
            if (tokens[t].kind == Token::Zero && intMinimum == 0)
                intMinimum = 1;
            else if (intMinimum > 0)
                ++intMinimum;
        } else {
            ++decPlaces;
            if (tokens[t].kind == Token::Zero)
                decMinimum = decPlaces;
        }
    }

    DecimalDigits d = DecimalDigits::FromDouble(value);
    d.RoundToDecimals(decPlaces, DecimalDigits::Half::AwayFromZero);

    QString intDigits;
    for (int i = 0; i < d.point; ++i)
        intDigits += QLatin1Char(d.Digit(i));
    if (intDigits.size() < intMinimum)
        intDigits.prepend(QString(intMinimum - intDigits.size(), u'0'));
    QString decDigits;
    for (int j = 0; j < decPlaces; ++j)
        decDigits += QLatin1Char(d.Digit(d.point + j));
    while (decDigits.size() > decMinimum && decDigits.endsWith(u'0'))
        decDigits.chop(1);

    const int digitCount = int(intDigits.size());
    QString out;
    if (d.negative && !d.IsZero())
        out += u'-';
    auto emitIntDigits = [&](int from, int to) {  // digits [from, to) of the integer part
        for (int i = std::max(from, 0); i < to; ++i) {
            if (grouping && i > 0 && (digitCount - i) % 3 == 0)
                out += u',';
            out += intDigits[i];
        }
    };

    // The integer digits fill the integer places from the right; the first place takes every
    // digit that has no place of its own. Without integer places they stand before the point.
    int place = 0;
    int decimal = 0;
    bool intDigitsShown = false;
    for (size_t t = 0; t < tokens.size(); ++t) {
        const Token& tok = tokens[t];
        if (t < pointAt && tok.IsDigitPlace()) {
            const int end = digitCount - intPlaces + place + 1;
            emitIntDigits(place == 0 ? 0 : end - 1, end);
            intDigitsShown = true;
            ++place;
        } else if (tok.kind == Token::Point) {
            if (!intDigitsShown)
                emitIntDigits(0, digitCount), intDigitsShown = true;
            out += u'.';
        } else if (tok.IsDigitPlace()) {
            if (decimal < decDigits.size())
                out += decDigits[decimal];
            ++decimal;
        } else if (tok.kind != Token::Comma) {
            out += tok.text;
        }
    }
    if (!intDigitsShown)
        emitIntDigits(0, digitCount);
    return out;
}

} // namespace general
