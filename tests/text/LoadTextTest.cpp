// LoadText and the choice of the interface language.
#include "text/LoadText.h"

#include <QLocale>
#include <gtest/gtest.h>

using text::Language;

namespace {

// Restores the language and KIVRA_LANG that the test main set up.
class LoadTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved_ = text::CurrentLanguage();
        savedEnv_ = qgetenv("KIVRA_LANG");
    }
    void TearDown() override
    {
        text::SetLanguage(saved_);
        qputenv("KIVRA_LANG", savedEnv_);
    }

private:
    Language saved_ = Language::English;
    QByteArray savedEnv_;
};

} // namespace

TEST_F(LoadTextTest, FollowsTheCurrentLanguage)
{
    text::SetLanguage(Language::English);
    EXPECT_EQ(LoadText(101), QStringLiteral("&File"));
    EXPECT_EQ(LoadText(102), QStringLiteral("&Open Audio File "));
    EXPECT_EQ(LoadText(107), QStringLiteral("&Grab Video  "));
    // A caption joined with a literal keeps the entry's trailing space.
    EXPECT_EQ(LoadText(115) + QStringLiteral(" (85%)"), QStringLiteral("&JPEG quality  (85%)"));

    text::SetLanguage(Language::ChineseTraditional);
    EXPECT_EQ(text::CurrentLanguage(), Language::ChineseTraditional);
    EXPECT_EQ(LoadText(101), QString::fromUtf8("檔案(&F)"));
    EXPECT_EQ(LoadText(402), QString::fromUtf8("出錯"));

    text::SetLanguage(Language::ChineseSimplified);
    EXPECT_EQ(LoadText(101), QString::fromUtf8("文件(&F)"));
    EXPECT_EQ(LoadText(400), QString::fromUtf8("立体声"));
}

TEST_F(LoadTextTest, MissingSimplifiedTextShowsEnglish)
{
    text::SetLanguage(Language::ChineseSimplified);
    EXPECT_EQ(LoadText(650), QStringLiteral("Set Capture file"));
    text::SetLanguage(Language::ChineseTraditional);
    EXPECT_EQ(LoadText(650), QString::fromUtf8("輸出捕捉視頻到"));
}

TEST_F(LoadTextTest, NumbersOutsideTheTableGiveAnEmptyText)
{
    for (Language language : {Language::English, Language::ChineseTraditional, Language::ChineseSimplified}) {
        text::SetLanguage(language);
        for (int n : {-32768, 0, 100, 1000, 32767})
            EXPECT_TRUE(LoadText(n).isEmpty()) << n;
        EXPECT_FALSE(LoadText(101).isEmpty());
        EXPECT_FALSE(LoadText(649).isEmpty());
    }
}

TEST_F(LoadTextTest, KivraLangOverridesTheLocale)
{
    const struct { const char* value; Language expected; } cases[] = {
        {"en", Language::English},
        {"zh_TW", Language::ChineseTraditional},
        {"zh_CN", Language::ChineseSimplified},
        {"zh-TW", Language::ChineseTraditional},
        {"zh_HK.UTF-8", Language::ChineseTraditional},
        {"zh_Hant", Language::ChineseTraditional},
        {"zh", Language::ChineseSimplified},
        {"fr_FR", Language::English},
    };
    for (const auto& c : cases) {
        qputenv("KIVRA_LANG", c.value);
        EXPECT_EQ(text::SystemLanguage(), c.expected) << c.value;
    }
    // Not a language name, or unset: the system locale decides.
    const Language fromLocale = text::LanguageOfLocale(QLocale::system());
    for (const char* value : {"", "nonsense-value", "C"}) {
        qputenv("KIVRA_LANG", value);
        EXPECT_EQ(text::SystemLanguage(), fromLocale) << value;
    }
    qunsetenv("KIVRA_LANG");
    EXPECT_EQ(text::SystemLanguage(), fromLocale);
}

TEST_F(LoadTextTest, LocaleChoosesTheTable)
{
    const struct { const char* name; Language expected; } cases[] = {
        {"zh_TW", Language::ChineseTraditional},
        {"zh_HK", Language::ChineseTraditional},
        {"zh_MO", Language::ChineseTraditional},
        {"zh_Hant_CN", Language::ChineseTraditional},
        {"zh_CN", Language::ChineseSimplified},
        {"zh_SG", Language::ChineseSimplified},
        {"zh_Hans_HK", Language::ChineseSimplified},
        {"en_US", Language::English},
        {"en_GB", Language::English},
        {"ja_JP", Language::English},
        {"de_DE", Language::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::LanguageOfLocale(QLocale(QString::fromLatin1(c.name))), c.expected) << c.name;
    EXPECT_EQ(text::LanguageOfLocale(QLocale::c()), Language::English);
}
