// The Qt dialogs' type lists made from the design's "Description|pattern" filters.
#include "platform/ui/QtPrompts.h"
#include "platform/system/QtTranslations.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(QtNameFilters, PatternsAreShownOnceWhateverTheDescriptionHolds)
{
    EXPECT_EQ(QtNameFilters("Wave Files  (*.wav)|*.wav|mp3 File  (*.mp3)|*.mp3"),
              (QStringList{"Wave Files (*.wav)", "mp3 File (*.mp3)"}));
    EXPECT_EQ(QtNameFilters("JPG|*.JPG|Wave/mp3 files|*.wav;*.mp3|ALL|*.*"),
              (QStringList{"JPG (*.JPG)", "Wave/mp3 files (*.wav *.mp3)", "ALL (*.*)"}));
    // Descriptions that show other patterns than the filter's show the filter's, once.
    EXPECT_EQ(QtNameFilters("Wave Files  (*.wav*)|*.wav|Midi file (*.mid*)|*.mid"),
              (QStringList{"Wave Files (*.wav)", "Midi file (*.mid)"}));
    EXPECT_EQ(QtNameFilters("Bitmap (BMP)|*.bmp"), QStringList{"Bitmap (BMP) (*.bmp)"});
}

TEST(QtTranslations, TheButtonsOfQtsDialogsSpeakChinese)
{
    const QString english = QCoreApplication::translate("QPlatformTheme", "Cancel");
    ASSERT_EQ(english, "Cancel");
    ASSERT_TRUE(platform::InstallQtTranslations("zh_TW"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Save As"), "Save As");
    EXPECT_FALSE(platform::InstallQtTranslations("en"));
}
