#include "platform/system/Settings.h"

#include <QSettings>
#include <gtest/gtest.h>

TEST(Settings, ValuesPersistPerApplicationSectionAndKey)
{
    platform::DeleteSetting("KIVRA", "preferences", "testkey");
    EXPECT_EQ(platform::GetSetting("KIVRA", "preferences", "testkey", "fallback"), "fallback");
    platform::SaveSetting("KIVRA", "preferences", "testkey", "/a path/with spaces.wav");
    EXPECT_EQ(platform::GetSetting("KIVRA", "preferences", "testkey"), "/a path/with spaces.wav");
    EXPECT_EQ(platform::GetSetting("VerevIradivez", "preferences", "testkey", "other"), "other");
    EXPECT_EQ(platform::GetSetting("KIVRA", "StartUp", "testkey", "other"), "other");
    platform::DeleteSetting("KIVRA", "preferences", "testkey");
}

TEST(Settings, EachTestProcessKeepsItsOwnStore)
{
    // Test processes run side by side; a shared store would let one test's "lastfile" leak into
    // another's start-up.
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(home.isEmpty());
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "KIVRA", "KIVRA");
    EXPECT_TRUE(store.fileName().startsWith(home)) << store.fileName().toStdString();
}
