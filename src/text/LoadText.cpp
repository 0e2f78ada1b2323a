#include "text/LoadText.h"

#include "text/TextTable.h"

#include <QLocale>
#include <QtGlobal>

#include <atomic>

namespace text {

namespace {

// The chosen language as an int; -1 until it is first asked for or set.
std::atomic<int> g_language{-1};

} // namespace

Language LanguageOfLocale(const QLocale& locale)
{
    if (locale.language() != QLocale::Chinese)
        return Language::English;
    switch (locale.script()) {
    case QLocale::TraditionalChineseScript:
        return Language::ChineseTraditional;
    case QLocale::SimplifiedChineseScript:
        return Language::ChineseSimplified;
    default:
        break;
    }
    switch (locale.territory()) {
    case QLocale::Taiwan:
    case QLocale::HongKong:
    case QLocale::Macao:
        return Language::ChineseTraditional;
    default:
        return Language::ChineseSimplified;
    }
}

std::optional<Language> LanguageFromName(QStringView name)
{
    // "zh_TW.UTF-8" and "zh_TW@euro" name the same language as "zh_TW".
    QStringView bare = name.trimmed();
    for (const QChar end : {QLatin1Char('.'), QLatin1Char('@')}) {
        const qsizetype at = bare.indexOf(end);
        if (at >= 0)
            bare = bare.left(at);
    }
    if (bare.isEmpty())
        return std::nullopt;
    // QLocale reads "zh_TW", "zh-TW", "zh_Hant", "en" alike and falls back to the C locale for
    // a name it does not know.
    const QLocale locale(bare.toString());
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return std::nullopt;
    return LanguageOfLocale(locale);
}

Language SystemLanguage()
{
    const QString chosen = qEnvironmentVariable("KIVRA_LANG");
    if (!chosen.isEmpty()) {
        if (const std::optional<Language> language = LanguageFromName(chosen))
            return *language;
    }
    return LanguageOfLocale(QLocale::system());
}

Language CurrentLanguage()
{
    int value = g_language.load(std::memory_order_acquire);
    if (value < 0) {
        int unset = -1;
        value = static_cast<int>(SystemLanguage());
        if (!g_language.compare_exchange_strong(unset, value, std::memory_order_acq_rel))
            value = unset; // another thread chose first
    }
    return static_cast<Language>(value);
}

void SetLanguage(Language language)
{
    g_language.store(static_cast<int>(language), std::memory_order_release);
}

} // namespace text

QString LoadText(int n)
{
    using text::Language;
    using text::TextTable;
    const TextTable& table = TextTable::Builtin();
    const Language language = text::CurrentLanguage();
    QString found = table.Text(n, language);
    if (found.isNull() && language != Language::English)
        found = table.Text(n, Language::English);
    return found;
}
