// What Start Capture makes of the time-interval capture's boxes: numbers, durations, dates and
// the messages, in the order a user meets them.
#include "capture/TimeLapseRun.h"
#include "general/General.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace capture;

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(14, 5, 9, 700));
const HmsTexts kSecond{"0", "0", "1"};
}

TEST(TimeLapseBoxes, NumbersAndTheirSeconds)
{
    for (const char* yes : {"1", " 2 ", "-3", "+4", "1.5", ".5", "7.", "1e3", "2D1"})
        EXPECT_TRUE(IsNumeric(QString(yes))) << yes;
    for (const char* no : {"", " ", "abc", "1:2", "1,5", "1 2", "1.2.3", "e3", "5s", "-"})
        EXPECT_FALSE(IsNumeric(QString(no))) << no;

    EXPECT_EQ(ReadHms({"1", "2", "3"}).seconds, 3723);
    EXPECT_EQ(ReadHms({"0", "0", "2.5"}).seconds, 2) << "halves to even";
    EXPECT_EQ(ReadHms({"0", "1.5", "0"}).seconds, 120);
    EXPECT_EQ(ReadHms({" 0 ", "-1", "30"}).seconds, -30);
    // The first box that is not a number, or too large, is named.
    EXPECT_EQ(ReadHms({"x", "y", "z"}).badBox, 0);
    EXPECT_EQ(ReadHms({"1", "", "z"}).badBox, 1);
    EXPECT_EQ(ReadHms({"1", "2", "3s"}).badBox, 2);
    EXPECT_EQ(ReadHms({"1", "2", "9999999999"}).badBox, 2);
    const HmsReading tooLong = ReadHms({"600000", "0", "0"});
    EXPECT_FALSE(tooLong.seconds);
    EXPECT_EQ(tooLong.badBox, 0);
    EXPECT_EQ(ReadHms({"596523", "14", "7"}).seconds, 2147483647);

    EXPECT_EQ(SplitDuration(3725), (HmsTexts{"1", "2", "5"}));
    EXPECT_EQ(SplitDuration(90000), (HmsTexts{"25", "0", "0"}));
    EXPECT_EQ(SplitDuration(-90), (HmsTexts{"0", "-1", "-30"}));
    EXPECT_EQ(SplitDuration(-3725), (HmsTexts{"-1", "-2", "-5"}));
}

// Choosing the immediate option fills the duration from the two dates, only when both are dates.
TEST(TimeLapseBoxes, DurationFromTheDates)
{
    EXPECT_EQ(DurationFromDates("2026-12-08 14:00:00", "8/12/2026 15:02:05"), (HmsTexts{"1", "2", "5"}));
    EXPECT_EQ(DurationFromDates("2026-12-08 14:00:10", "2026-12-08 14:00:00"), (HmsTexts{"0", "0", "-10"}));
    EXPECT_FALSE(DurationFromDates("", "2026-12-08 14:00:00"));
    EXPECT_FALSE(DurationFromDates("2026-12-08 14:00:00", "tomorrow"));
}

// The hint beside the date boxes shows the form the boxes are written in, and that form reads.
TEST(TimeLapseBoxes, DateHintIsTheFormOfTheDateText)
{
    QString pattern = QRegularExpression::escape(DateHint);
    pattern.replace(QRegularExpression("[ymdhs]"), "\\d");
    const QString written = general::DateText(kNow);
    EXPECT_TRUE(QRegularExpression("^" + pattern + "$").match(written).hasMatch()) << written.toStdString();
    EXPECT_EQ(general::ParseDateText(written), kNow.addMSecs(-700));
}

TEST(TimeLapseStart, ImmediateRunStartsNowForItsDuration)
{
    const TimeLapseRun run = ReadTimeLapseRun({{"0", "0", "10"}, {"1", "30", "0"}, "old", "older", true}, kNow);
    ASSERT_TRUE(run.outcome.ok);
    EXPECT_EQ(run.intervalSeconds, 10);
    EXPECT_EQ(run.start, kNow.addMSecs(-700));
    EXPECT_EQ(run.start.timeSpec(), Qt::UTC);
    EXPECT_EQ(run.start.secsTo(run.completion), 5400);
    EXPECT_EQ(run.startingText, "2026-12-08 14:05:09");
    EXPECT_EQ(run.completionText, "2026-12-08 15:35:09");
    EXPECT_FALSE(run.duration) << "the duration boxes keep what was typed";
}

TEST(TimeLapseStart, ProgrammedRunReadsItsDatesAndFillsTheDuration)
{
    const TimeLapseRun run = ReadTimeLapseRun(
        {{"0", "10", "0"}, {"0", "3", "0"}, "2026-12-09 20:00", "10/12/2026 7:30 am", false}, kNow);
    ASSERT_TRUE(run.outcome.ok);
    EXPECT_EQ(run.start, QDateTime(QDate(2026, 12, 9), QTime(20, 0)));
    EXPECT_EQ(run.completion, QDateTime(QDate(2026, 12, 10), QTime(7, 30)));
    EXPECT_EQ(run.intervalSeconds, 600);
    EXPECT_EQ(run.duration, (HmsTexts{"11", "30", "0"}));
    EXPECT_EQ(run.startingText, "2026-12-09 20:00") << "the boxes keep the user's text";

    // A completion before the start: a negative duration, and still a run (it ends at once).
    const TimeLapseRun backwards =
        ReadTimeLapseRun({kSecond, {"0", "3", "0"}, "2026-12-09 20:00:00", "2026-12-09 19:58:30", false}, kNow);
    ASSERT_TRUE(backwards.outcome.ok);
    EXPECT_EQ(backwards.duration, (HmsTexts{"0", "-1", "-30"}));
}

// Each wrong box gives its own message with the box's text after it, checked in the order of
// the press; the immediate run has written its start before it reads the duration.
TEST(TimeLapseStart, WrongBoxesAreNamedInOrder)
{
    struct Case {
        TimeLapseBoxes boxes;
        QString message;
        QString startingText;
    };
    const Case cases[] = {
        {{{"a", "b", "c"}, {"x", "y", "z"}, "", "", true}, "Incorrect format for hour  in time intervala", ""},
        {{{"0", "b", "c"}, {"x", "y", "z"}, "", "", true}, "Incorrect format for minute  in time intervalb", ""},
        {{{"0", "0", ""}, {"x", "y", "z"}, "", "", false}, "Incorrect format for second  in time interval", ""},
        {{kSecond, {"x", "y", "z"}, "", "", true}, "Incorrect format for hourx", "2026-12-08 14:05:09"},
        {{kSecond, {"0", "y", "z"}, "", "", true}, "Incorrect format for minutey", "2026-12-08 14:05:09"},
        {{kSecond, {"0", "0", "z"}, "", "", true}, "Incorrect format for secondz", "2026-12-08 14:05:09"},
        {{kSecond, {"x", "y", "z"}, "soon", "later", false}, "Incorrect format for starting timesoon", ""},
        {{kSecond, {"x", "y", "z"}, "2026-12-09", "later", false}, "Incorrect format for completion timelater", ""},
        {{kSecond, {"x", "y", "z"}, "2026-12-09", "2026-02-30", false},
         "Incorrect format for completion time2026-02-30", ""},
    };
    for (const Case& c : cases) {
        const TimeLapseRun run = ReadTimeLapseRun(c.boxes, kNow);
        EXPECT_FALSE(run.outcome.ok) << c.message.toStdString();
        EXPECT_EQ(run.outcome.message, c.message);
        EXPECT_EQ(run.outcome.title, "KIVRA");
        EXPECT_EQ(run.startingText, c.startingText) << c.message.toStdString();
        EXPECT_TRUE(run.completionText.isEmpty());
    }
}
