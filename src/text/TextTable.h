#pragma once
// The interface text table: entries 101..650 of the original design and KIVRA's own entries
// appended after them (651..999), each with a text in English, Chinese Traditional and Chinese
// Simplified (a language may lack a text for an entry; KIVRA's own entries have all three).
//
// The table is kept as UTF-8 text, one entry a line:
//   number <TAB> English <TAB> Chinese Traditional <TAB> Chinese Simplified
// Inside a text, "\t", "\n", "\r" and "\\" stand for a tab, a line feed, a carriage return and a
// backslash; every other character, trailing spaces included, is taken as it is. An empty field
// means that the language has no text for the entry. Empty lines and lines starting with "#" are
// skipped.

#include "text/LoadText.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace text {

class TextTable
{
public:
    static constexpr int kFirstEntry = 101;
    static constexpr int kLastEntry = 999;
    static constexpr int kLastDesignEntry = 650;
    static constexpr int kEntryCount = kLastEntry - kFirstEntry + 1;

    // Reads a table. Lines that cannot be read (wrong number of fields, a number that is not an
    // entry number, a second line for the same number, an unknown escape) are left out or, for
    // an unknown escape, kept literally; each is described in errors when given.
    static TextTable Parse(QByteArrayView data, QStringList* errors = nullptr);

    // The table compiled into the program, read on first use.
    static const TextTable& Builtin();

    // The text of entry n in the language; a null QString when the entry has none there or n is
    // outside kFirstEntry..kLastEntry.
    QString Text(int n, Language language) const;
    bool HasText(int n, Language language) const { return !Text(n, language).isNull(); }
    // How many entries have a text in the language.
    int Count(Language language) const;

private:
    TextTable();

    // texts_[language][n - kFirstEntry]; null where there is no text.
    std::array<std::vector<QString>, 3> texts_;
};

} // namespace text
