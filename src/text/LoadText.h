#pragma once
// The interface text table: entries 101..650 in English, Chinese Traditional and Chinese
// Simplified, compiled into the program.

#include <QString>
#include <QStringView>

#include <optional>

class QLocale;

namespace text {

enum class Language { English, ChineseTraditional, ChineseSimplified };

// The language chosen from the system locale, or from KIVRA_LANG (en, zh_TW, zh_CN) when set.
Language SystemLanguage();
// The language LoadText uses; chosen once from SystemLanguage() unless set here (tests).
Language CurrentLanguage();
void SetLanguage(Language language);

// The table for a locale: Chinese written in the Traditional script (or, with no script given,
// Chinese of Taiwan, Hong Kong or Macao) reads Chinese Traditional, any other Chinese reads
// Chinese Simplified, every other language English.
Language LanguageOfLocale(const QLocale& locale);
// The table for a language name such as "en", "zh_TW", "zh-CN" or "zh_Hant"; nothing for a name
// that is not a language.
std::optional<Language> LanguageFromName(QStringView name);

} // namespace text

// The entry n (101..650) in the current language. Entries without a text in that language show
// the English text. A number outside the table gives an empty text.
QString LoadText(int n);
