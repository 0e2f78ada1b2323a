// The shipped interface text table and the reader of its format.
#include "text/TextTable.h"
#include "text/TextTableData.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using text::Language;
using text::TextTable;

namespace {

constexpr Language kLanguages[] = {Language::English, Language::ChineseTraditional,
                                   Language::ChineseSimplified};

QString Describe(const QStringList& errors) { return errors.join(QLatin1Char('\n')); }

} // namespace

TEST(TextTable, ShippedTableReadsWithoutErrorsAndIsComplete)
{
    QStringList errors;
    const TextTable table = TextTable::Parse(text::TextTableData(), &errors);
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(Describe(errors));

    // The design's 550 entries, the simplified text of 650 missing as designed; KIVRA's own
    // entries after them have every language.
    for (int n = 101; n <= TextTable::kLastEntry; ++n) {
        const bool design = n <= TextTable::kLastDesignEntry;
        const bool present = table.HasText(n, Language::English);
        EXPECT_TRUE(present || !design) << n;
        EXPECT_EQ(table.HasText(n, Language::ChineseTraditional), present) << n;
        EXPECT_EQ(table.HasText(n, Language::ChineseSimplified), present && n != 650) << n;
        if (present)
            EXPECT_FALSE(table.Text(n, Language::English).isEmpty()) << n;
    }
    const int own = table.Count(Language::English) - 550;
    // The built-in table is the same data.
    EXPECT_EQ(TextTable::Builtin().Count(Language::ChineseSimplified), 549 + own);
}

TEST(TextTable, TelltaleRowsInThreeLanguages)
{
    struct Row { int n; const char* english; const char* traditional; const char* simplified; };
    const Row rows[] = {
        {101, "&File", "檔案(&F)", "文件(&F)"},
        {169, "Waveform  View", "查看波形", "查看波形"},
        {400, "Stereo", "身歷聲", "立体声"},
        {402, "Error", "出錯", "出错"},
        {613, "Closing all MCI operations failed!", "關閉所有媒體控制介面操作失敗！",
         "关闭所有媒体控制接口操作失败！"},
        {650, "Set Capture file", "輸出捕捉視頻到", nullptr},
    };
    const TextTable& table = TextTable::Builtin();
    for (const Row& row : rows) {
        EXPECT_EQ(table.Text(row.n, Language::English), QString::fromUtf8(row.english)) << row.n;
        EXPECT_EQ(table.Text(row.n, Language::ChineseTraditional), QString::fromUtf8(row.traditional)) << row.n;
        if (row.simplified)
            EXPECT_EQ(table.Text(row.n, Language::ChineseSimplified), QString::fromUtf8(row.simplified)) << row.n;
        else
            EXPECT_TRUE(table.Text(row.n, Language::ChineseSimplified).isNull()) << row.n;
    }
}

TEST(TextTable, TrailingSpacesAndColonsAreKept)
{
    const TextTable& table = TextTable::Builtin();
    EXPECT_EQ(table.Text(102, Language::English), QStringLiteral("&Open Audio File "));
    EXPECT_EQ(table.Text(107, Language::English), QStringLiteral("&Grab Video  "));
    EXPECT_EQ(table.Text(200, Language::English), QStringLiteral(" Video  Graber"));
    EXPECT_EQ(table.Text(561, Language::English), QStringLiteral("  Frames"));
    // "time in" runs straight into the number; the Chinese texts end with a colon instead.
    EXPECT_EQ(table.Text(418, Language::English), QStringLiteral("time in"));
    for (Language chinese : {Language::ChineseTraditional, Language::ChineseSimplified}) {
        const QString timeIn = table.Text(418, chinese);
        EXPECT_TRUE(timeIn.endsWith(QChar(0xFF1A)) || timeIn.endsWith(QLatin1Char(':')))
            << qPrintable(timeIn);
    }
}

TEST(TextTable, NoTextHoldsStrayControlCharacters)
{
    const TextTable& table = TextTable::Builtin();
    for (Language language : kLanguages)
        for (int n = 101; n <= TextTable::kLastEntry; ++n) {
            const QString t = table.Text(n, language);
            // KIVRA's own messages may break into paragraphs.
            const bool own = n > TextTable::kLastDesignEntry;
            for (QChar c : t)
                EXPECT_FALSE(c.category() == QChar::Other_Control && !(own && c == QLatin1Char('\n')))
                    << "entry " << n << " language " << static_cast<int>(language);
            EXPECT_FALSE(t.contains(QChar(0xFFFD))) << "bad UTF-8 in entry " << n;
        }
}

// Every access key of an English caption ("&X", also inside a word as in "E&xit") is offered by
// the Chinese captions too, as "(&X)" or an ampersand before the same letter; and a Chinese text
// never has an access key where the English one has none.
TEST(TextTable, AccessKeysCarryOverToChinese)
{
    static const QRegularExpression key(QStringLiteral("&([^&\\s])"));
    const TextTable& table = TextTable::Builtin();
    for (int n = 101; n <= TextTable::kLastEntry; ++n) {
        const QRegularExpressionMatch english = key.match(table.Text(n, Language::English));
        for (Language chinese : {Language::ChineseTraditional, Language::ChineseSimplified}) {
            const QString t = table.Text(n, chinese);
            if (t.isNull())
                continue;
            const QRegularExpressionMatch translated = key.match(t);
            ASSERT_EQ(english.hasMatch(), translated.hasMatch()) << "entry " << n << ": " << qPrintable(t);
            if (!english.hasMatch())
                continue;
            EXPECT_EQ(english.captured(1).toUpper(), translated.captured(1).toUpper())
                << "entry " << n << ": " << qPrintable(t);
            // A key added in parentheses goes at the end, before any "..".
            if (translated.capturedStart() > 0 && t[translated.capturedStart() - 1] == QLatin1Char('(')) {
                QString tail = t.mid(translated.capturedEnd() + 1);
                tail.remove(QLatin1Char('.'));
                EXPECT_TRUE(tail.isEmpty()) << "entry " << n << ": " << qPrintable(t);
            }
        }
    }
}

TEST(TextTable, ReadsEscapesSpacesMissingTextsAndLineEnds)
{
    const QByteArray data =
        "# comment\n"
        "\n"
        "101\t&Open  \ta\\tb\\\\c\t\n"
        "102\tline\\none\t\xE6\xAA\x94\t\xE6\x96\x87\r\n"
        "650\tlast\tx\ty"; // no line feed at the end
    QStringList errors;
    const TextTable table = TextTable::Parse(data, &errors);
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(Describe(errors));
    EXPECT_EQ(table.Text(101, Language::English), QStringLiteral("&Open  "));
    EXPECT_EQ(table.Text(101, Language::ChineseTraditional), QStringLiteral("a\tb\\c"));
    EXPECT_TRUE(table.Text(101, Language::ChineseSimplified).isNull());
    EXPECT_EQ(table.Text(102, Language::English), QStringLiteral("line\none"));
    EXPECT_EQ(table.Text(102, Language::ChineseTraditional), QString::fromUtf8("檔"));
    EXPECT_EQ(table.Text(102, Language::ChineseSimplified), QString::fromUtf8("文")); // no '\r' left
    EXPECT_EQ(table.Text(650, Language::ChineseSimplified), QStringLiteral("y"));
    EXPECT_TRUE(table.Text(103, Language::English).isNull());
    EXPECT_EQ(table.Count(Language::English), 3);
}

TEST(TextTable, ReportsLinesItCannotRead)
{
    const QByteArray data =
        "101\tone\ttwo\tthree\textra\n"  // a stray tab inside a text
        "102\tbroken\n"                  // a stray line feed splits an entry
        "continued\ttw\tcn\n"
        "100\tbelow\ta\tb\n"
        "1000\tabove\ta\tb\n"
        "1x3\tword\ta\tb\n"
        "104\tfirst\ta\tb\n"
        "104\tsecond\ta\tb\n"
        "105\tback\\slash\\\ta\tb\n";
    QStringList errors;
    const TextTable table = TextTable::Parse(data, &errors);
    EXPECT_EQ(errors.size(), 9) << qPrintable(Describe(errors));
    EXPECT_TRUE(table.Text(101, Language::English).isNull());
    EXPECT_TRUE(table.Text(102, Language::English).isNull());
    EXPECT_EQ(table.Text(104, Language::English), QStringLiteral("first"));
    // Unknown escapes and a final backslash are kept as written.
    EXPECT_EQ(table.Text(105, Language::English), QStringLiteral("back\\slash\\"));
    EXPECT_EQ(table.Count(Language::English), 2);
}

TEST(TextTable, NumbersOutsideTheTableHaveNoText)
{
    const TextTable& table = TextTable::Builtin();
    for (int n : {-1, 0, 100, 999, 1000, 32767})
        for (Language language : kLanguages)
            EXPECT_TRUE(table.Text(n, language).isNull()) << n;
}
