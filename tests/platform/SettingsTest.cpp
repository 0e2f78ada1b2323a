#include "platform/Settings.h"

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
