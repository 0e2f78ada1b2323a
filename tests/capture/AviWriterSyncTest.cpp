// The pace at which the capture file is handed to the disk, on a clock passed in.
#include "platform/video/SyncPace.h"

#include <gtest/gtest.h>

namespace {
constexpr std::int64_t kSecond = 1'000'000;
}

TEST(AviWriterSync, FirstRequestAtOnceThenOneSyncASecondForAllWritesBetween)
{
    SyncPace pace;
    EXPECT_FALSE(pace.pending());
    ASSERT_TRUE(pace.request());
    EXPECT_EQ(pace.startAtUs(5 * kSecond), 5 * kSecond);
    pace.started(5 * kSecond);
    EXPECT_FALSE(pace.pending());

    // Thirty frames in the next second: the first starts the wait, the rest join it, and the
    // one sync they share starts a second after the last one.
    EXPECT_TRUE(pace.request());
    for (int frame = 1; frame < 30; ++frame) EXPECT_FALSE(pace.request()) << frame;
    EXPECT_EQ(pace.startAtUs(5 * kSecond + 40'000), 6 * kSecond);
    EXPECT_EQ(pace.startAtUs(5 * kSecond + 990'000), 6 * kSecond);
    pace.started(6 * kSecond);
    EXPECT_FALSE(pace.pending());

    // After a quiet stretch a write goes to the disk at once.
    EXPECT_TRUE(pace.request());
    EXPECT_EQ(pace.startAtUs(9 * kSecond + 123), 9 * kSecond + 123);
}

TEST(AviWriterSync, NoWriteWaitsMoreThanAnIntervalForItsSync)
{
    SyncPace pace(250'000);
    pace.request();
    pace.started(0);
    for (std::int64_t written = 0; written <= 2 * kSecond; written += 10'007) {
        pace.request();
        const std::int64_t at = pace.startAtUs(written);
        EXPECT_GE(at, written);
        EXPECT_LE(at - written, 250'000) << written;
        if (at <= written + 5'000) pace.started(at);   // the sync's turn came: it begins
    }
}
