// The about window through the real frame: its texts in two languages, its buttons, and one
// window at a time.
#include "app/MDIMain.h"
#include "app/frm_about.h"

#include "support/ScriptedPrompts.h"
#include "support/Shots.h"
#include "text/LoadText.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {
frm_about* ShownAbout()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<frm_about*>(top); about && about->isVisible()) return about;
    return nullptr;
}
}

TEST(AboutWindow, TheFramesAboutShowsTheVersionAndReportCentredInEachLanguage)
{
    ScopedScriptedPrompts prompts;
    const std::pair<text::Language, const char*> languages[] = {
        {text::Language::English, "en"}, {text::Language::ChineseSimplified, "zh_CN"}};
    for (auto [language, tag] : languages) {
        text::SetLanguage(language);
        MDIMain frame;
        frame.Load("");
        frame.show();
        frame.findChild<QAction*>("mnuabout")->trigger();
        frm_about* about = ShownAbout();
        ASSERT_NE(about, nullptr) << tag;
        EXPECT_EQ(about->windowTitle(), LoadText(589));
        EXPECT_EQ(about->findChild<QPushButton*>("cmdSysInfo")->text(), LoadText(588));
        EXPECT_EQ(about->findChild<QPushButton*>("Command1")->text(), LoadText(318));
        EXPECT_EQ(about->findChild<QLabel*>("Label4")->text(), "Window version 1.0 for Linux");
        const QStringList lines = about->findChild<QLabel*>("Lbl_info")->text().split('\n');
        ASSERT_EQ(lines.size(), 6);
        EXPECT_TRUE(lines[1].startsWith("CPU: "));
        EXPECT_TRUE(lines[2].startsWith(LoadText(427)));
        EXPECT_TRUE(lines[5].startsWith(LoadText(430)));
        const QRect screen = QApplication::primaryScreen()->geometry();
        EXPECT_NEAR(about->x(), (screen.width() - about->width()) / 2, 1);
        EXPECT_NEAR(about->y(), (screen.height() - about->height()) / 2, 1);
        SaveShot(about, QString("about-%1").arg(tag));

        // Asked again, the same window comes forward; OK closes it.
        frame.findChild<QAction*>("mnuabout")->trigger();
        EXPECT_EQ(ShownAbout(), about);
        QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        EXPECT_EQ(ShownAbout(), nullptr);
    }
    text::SetLanguage(text::Language::English);
    EXPECT_TRUE(prompts->messages().isEmpty());
}

TEST(AboutWindow, SystemInfoWithoutAProgramSaysSoFromTheFrameAndTheWindow)
{
    ScopedScriptedPrompts prompts;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    MDIMain frame;
    frame.Load("");
    frame.findChild<QAction*>("mnusysteminfo")->trigger();
    frame.findChild<QAction*>("mnuabout")->trigger();
    ASSERT_NE(ShownAbout(), nullptr);
    ShownAbout()->findChild<QPushButton*>("cmdSysInfo")->click();
    qputenv("PATH", path);
    EXPECT_EQ(prompts->count("System Information Is Unavailable At This Time"), 2);
}
