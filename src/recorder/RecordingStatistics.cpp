#include "recorder/RecordingStatistics.h"

#include "general/General.h"
#include "text/LoadText.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString number(const std::optional<std::int64_t>& n) { return n ? QString::number(*n) : QString("?"); }
}

std::optional<std::int64_t> ReplyNumber(const QString& reply)
{
    const QString text = reply.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && digits < 18 && text[digits].isDigit()) ++digits;
    if (digits == 0) return std::nullopt;
    return text.left(digits).toLongLong();
}

QString SizeText(std::int64_t bytes)
{
    const double kilo = double(bytes) / 1024;
    if (kilo >= 1024) return general::NumText(kilo / 1024).left(6) + " " + LoadText(660) + CRLF;
    if (bytes > 1023) return general::NumText(kilo).left(6) + " " + LoadText(659) + CRLF;
    return QString::number(bytes) + " " + LoadText(658) + CRLF;
}

QString StatisticsText(const RecordingFacts& facts)
{
    QString text = LoadText(629);
    text += facts.milliseconds ? general::NumText(double(*facts.milliseconds) / 1000) : QString("?");
    text += LoadText(657);
    text += " (" + (facts.bytes ? SizeText(*facts.bytes) : "? " + LoadText(658) + CRLF);
    if (facts.channels == 1) text += LoadText(401) + " @ ";
    else if (facts.channels == 2) text += LoadText(400) + " @ ";
    text += number(facts.bitsPerSample) + LoadText(661);
    text += LoadText(662) + number(facts.samplesPerSec) + " Hz" + CRLF;
    return text;
}

QString TimesText(const QDateTime& start, const QDateTime& stop)
{
    return LoadText(339) + ":  " + general::DateText(start) + CRLF + LoadText(341) + ":  " +
           general::DateText(stop);
}

QString ProgrammedLines(bool autoSave, const QString& timesText)
{
    return LoadText(337) + " (" + LoadText(autoSave ? 345 : 344) + " " + LoadText(355) + " )" + CRLF +
           CRLF + timesText;
}
