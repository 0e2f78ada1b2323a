// The statistics texts: the size units and their six-character cut, the two statistics lines,
// the times and the programmed recording's lines; and the reading of a status reply.
#include "recorder/RecordingStatistics.h"
#include "text/LoadText.h"

#include <gtest/gtest.h>

namespace {
class Statistics : public ::testing::Test {
protected:
    void SetUp() override { text::SetLanguage(text::Language::English); }
};
}

TEST_F(Statistics, SizeTextChangesUnitAtTheKilobyteAndTheMegabyte)
{
    EXPECT_EQ(SizeText(0), "0 Bytes)\r\n");
    EXPECT_EQ(SizeText(1023), "1023 Bytes)\r\n");
    EXPECT_EQ(SizeText(1024), "1 kBytes)\r\n");
    EXPECT_EQ(SizeText(1048575), "1023.9 kBytes)\r\n");
    EXPECT_EQ(SizeText(1048576), "1 MBytes)\r\n");
    // Cut to six characters, not rounded: 1023.96 kBytes read 1023.9, 1536.123 MBytes read 1536.1,
    // 1.99999 MBytes read 1.9999.
    EXPECT_EQ(SizeText(1048535), "1023.9 kBytes)\r\n");
    EXPECT_EQ(SizeText(1610741053), "1536.1 MBytes)\r\n");
    EXPECT_EQ(SizeText(2097141), "1.9999 MBytes)\r\n");
    EXPECT_EQ(SizeText(std::int64_t(1) << 31), "2048 MBytes)\r\n");
}

TEST_F(Statistics, TwoLinesOfDurationSizeAndFormat)
{
    RecordingFacts facts{5200, 114688, 1, 16, 11025};
    EXPECT_EQ(StatisticsText(facts), "Recorded audio duration:5.2 sec  (112 kBytes)\r\n"
                                     "Mono @ 16 bits  at sampling rate of 11025 Hz\r\n");
    facts = {1, 4, 2, 8, 44100};
    EXPECT_EQ(StatisticsText(facts), "Recorded audio duration:0.001 sec  (4 Bytes)\r\n"
                                     "Stereo @ 8 bits  at sampling rate of 44100 Hz\r\n");
    // A channel count other than 1 or 2 adds nothing; numbers the device did not give show "?".
    facts = {std::nullopt, std::nullopt, 3, std::nullopt, std::nullopt};
    EXPECT_EQ(StatisticsText(facts), "Recorded audio duration:? sec  (? Bytes)\r\n"
                                     "? bits  at sampling rate of ? Hz\r\n");
}

TEST_F(Statistics, ProgrammedRecordingAddsItsModeAndTimes)
{
    const QDateTime start(QDate(2026, 12, 8), QTime(14, 5, 9));
    const QString times = TimesText(start, start.addSecs(900));
    EXPECT_EQ(times, "Start time :  2026-12-08 14:05:09\r\nStop time:  2026-12-08 14:20:09");
    EXPECT_EQ(ProgrammedLines(true, times),
              "Programmed recording (Automatic Save )\r\n\r\n" + times);
    EXPECT_EQ(ProgrammedLines(false, times), "Programmed recording (Manual  Save )\r\n\r\n" + times);

    text::SetLanguage(text::Language::ChineseTraditional);
    EXPECT_TRUE(ProgrammedLines(true, times).startsWith(LoadText(337) + " (" + LoadText(345)));
}

TEST(StatusReply, TheLeadingWholeNumberIsRead)
{
    EXPECT_EQ(ReplyNumber("114688"), 114688);
    EXPECT_EQ(ReplyNumber(" 2 "), 2);
    EXPECT_EQ(ReplyNumber("12abc"), 12);
    EXPECT_EQ(ReplyNumber(""), std::nullopt);
    EXPECT_EQ(ReplyNumber("stopped"), std::nullopt);
    EXPECT_EQ(ReplyNumber("-5"), std::nullopt);
}
