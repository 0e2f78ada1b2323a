// The general date-time text and its lenient parser.
//
// Every window writes a date-time as "yyyy-MM-dd HH:mm:ss", the time always included, even at
// midnight: a schedule box then always shows the time to edit, the text reads the same in every
// locale, sorts by time, and carries no "/" into file names built from it.
//
// The parser takes what a teacher types: a date, a time, or both separated by blanks or "T".
//  - date: year first with "-", "/" or "." ("2026-12-08", "2026/12/8"), or day first with a
//    four- or two-digit year ("08/12/2026", "8.12.26"; two-digit years 00-29 are 2000-2029,
//    30-99 are 1930-1999); when the second number cannot be a month but the first can
//    ("12/31/2026"), month and day are swapped;
//  - time: "14:05", "14:05:09", "2:05 PM", "2 pm", "2:05 a.m." (12 AM is midnight);
//  - a time alone is today's, a date alone is midnight.
// Anything else, an impossible date or time, or a local time that does not exist (skipped by a
// daylight-saving change) gives nullopt.
#include "general/General.h"

#include <QRegularExpression>

namespace general {

QString DateText(const QDateTime& when)
{
    if (!when.isValid())
        return {};
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

std::optional<QDate> ParseDate(const QRegularExpressionMatch& m)
{
    const QString first = m.captured(1), second = m.captured(3), third = m.captured(4);
    int year, month, day;
    if (first.size() == 4 && third.size() <= 2) {
        year = first.toInt();
        month = second.toInt();
        day = third.toInt();
    } else if (first.size() <= 2 && third.size() != 3) {
        day = first.toInt();
        month = second.toInt();
        year = third.toInt();
        if (third.size() <= 2)
            year += year < 30 ? 2000 : 1900;
        if (month > 12 && day <= 12)
            std::swap(day, month);
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> ParseTime(const QRegularExpressionMatch& m)
{
    const bool hasMinutes = m.hasCaptured(2);
    const QString meridiem = m.captured(4).toUpper();
    if (!hasMinutes && meridiem.isEmpty())
        return std::nullopt;  // a bare number is not a time
    int hour = m.captured(1).toInt();
    const int minute = hasMinutes ? m.captured(2).toInt() : 0;
    const int second = m.hasCaptured(3) ? m.captured(3).toInt() : 0;
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (meridiem == u"P" ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<QDateTime> ParseDateText(QStringView text)
{
    static const QRegularExpression datePattern(
        QStringLiteral(R"(^(\d{1,4})([-/.])(\d{1,2})\2(\d{1,4}))"));
    static const QRegularExpression timePattern(QStringLiteral(
        R"(^(\d{1,2})(?::(\d{1,2})(?::(\d{1,2}))?)?\s*(?:([AaPp])\.?[Mm]\.?)?$)"));

    const QString trimmed = text.toString().trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;

    std::optional<QDate> date;
    QStringView rest = trimmed;
    const QRegularExpressionMatch dm = datePattern.match(trimmed);
    if (dm.hasMatch()) {
        date = ParseDate(dm);
        if (!date)
            return std::nullopt;
        rest = rest.mid(dm.capturedLength());
        if (rest.startsWith(u'T') || rest.startsWith(u't'))
            rest = rest.mid(1);
        else if (!rest.isEmpty() && !rest.front().isSpace())
            return std::nullopt;
        rest = rest.trimmed();
    }

    QTime time(0, 0);
    if (!rest.isEmpty()) {
        const QRegularExpressionMatch tm = timePattern.match(rest.toString());
        if (!tm.hasMatch())
            return std::nullopt;
        const std::optional<QTime> parsed = ParseTime(tm);
        if (!parsed)
            return std::nullopt;
        time = *parsed;
    }
    if (!date)
        date = QDate::currentDate();

    const QDateTime result(*date, time);
    if (!result.isValid() || result.time() != time)
        return std::nullopt;
    return result;
}

} // namespace general
