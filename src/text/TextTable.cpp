#include "text/TextTable.h"

#include "text/TextTableData.h"

#include <QByteArray>
#include <QtGlobal>

namespace text {

namespace {

// Decodes the escapes of one field. A backslash before any other character (or at the end of
// the field) is kept as it is and reported.
QString Unescape(QByteArrayView field, int lineNumber, QStringList* errors)
{
    if (!field.contains('\\'))
        return QString::fromUtf8(field);
    QByteArray plain;
    plain.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '\\' || i + 1 == field.size()) {
            if (c == '\\' && errors)
                errors->append(QStringLiteral("line %1: backslash at the end of a text").arg(lineNumber));
            plain.append(c);
            continue;
        }
        const char next = field[i + 1];
        switch (next) {
        case 't': plain.append('\t'); ++i; break;
        case 'n': plain.append('\n'); ++i; break;
        case 'r': plain.append('\r'); ++i; break;
        case '\\': plain.append('\\'); ++i; break;
        default:
            if (errors)
                errors->append(QStringLiteral("line %1: unknown escape \\%2")
                                   .arg(lineNumber).arg(QLatin1Char(next)));
            plain.append(c);
            break;
        }
    }
    return QString::fromUtf8(plain);
}

} // namespace

TextTable::TextTable()
{
    for (auto& texts : texts_)
        texts.resize(kEntryCount);
}

TextTable TextTable::Parse(QByteArrayView data, QStringList* errors)
{
    TextTable table;
    std::vector<bool> seen(kEntryCount, false);
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView line = data.sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.endsWith('\r')) // a table saved with CR LF line ends
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;

        QByteArrayView fields[4];
        int fieldCount = 0;
        qsizetype from = 0;
        for (;;) {
            const qsizetype tab = line.indexOf('\t', from);
            const qsizetype to = tab < 0 ? line.size() : tab;
            if (fieldCount < 4)
                fields[fieldCount] = line.sliced(from, to - from);
            ++fieldCount;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        if (fieldCount != 4) {
            if (errors)
                errors->append(QStringLiteral("line %1: %2 fields instead of 4").arg(lineNumber).arg(fieldCount));
            continue;
        }
        bool ok = false;
        const int n = fields[0].toInt(&ok);
        if (!ok || n < kFirstEntry || n > kLastEntry) {
            if (errors)
                errors->append(QStringLiteral("line %1: \"%2\" is not an entry number %3..%4")
                                   .arg(lineNumber).arg(QString::fromUtf8(fields[0]))
                                   .arg(kFirstEntry).arg(kLastEntry));
            continue;
        }
        if (seen[n - kFirstEntry]) {
            if (errors)
                errors->append(QStringLiteral("line %1: entry %2 given twice").arg(lineNumber).arg(n));
            continue;
        }
        seen[n - kFirstEntry] = true;
        for (int language = 0; language < 3; ++language) {
            const QByteArrayView field = fields[language + 1];
            if (!field.isEmpty())
                table.texts_[language][n - kFirstEntry] = Unescape(field, lineNumber, errors);
        }
    }
    return table;
}

const TextTable& TextTable::Builtin()
{
    static const TextTable table = [] {
        QStringList errors;
        TextTable parsed = Parse(TextTableData(), &errors);
        for (const QString& error : errors)
            qWarning("interface text table: %s", qPrintable(error));
        return parsed;
    }();
    return table;
}

QString TextTable::Text(int n, Language language) const
{
    if (n < kFirstEntry || n > kLastEntry)
        return QString();
    return texts_[static_cast<int>(language)][n - kFirstEntry];
}

int TextTable::Count(Language language) const
{
    int count = 0;
    for (const QString& text : texts_[static_cast<int>(language)])
        count += text.isNull() ? 0 : 1;
    return count;
}

} // namespace text
