#include "general/General.h"

#include <gtest/gtest.h>

using general::DateText;
using general::ParseDateText;

namespace {
QDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
} // namespace

TEST(DateText, WritesDateAndTimeAlways)
{
    EXPECT_EQ(DateText(At(2026, 12, 8, 14, 5, 9)), "2026-12-08 14:05:09");
    EXPECT_EQ(DateText(At(2026, 1, 2)), "2026-01-02 00:00:00");
    EXPECT_EQ(DateText(QDateTime()), "");
}

TEST(DateText, RoundTrips)
{
    for (const QDateTime& when : {At(2026, 12, 8, 14, 5, 9), At(2000, 2, 29), At(1999, 12, 31, 23, 59, 59)}) {
        const auto back = ParseDateText(DateText(when));
        ASSERT_TRUE(back.has_value()) << DateText(when).toStdString();
        EXPECT_EQ(*back, when);
    }
}

TEST(ParseDateText, WhatATeacherTypes)
{
    const std::pair<const char16_t*, QDateTime> cases[] = {
        {u"2026-12-08 14:05", At(2026, 12, 8, 14, 5)},
        {u"2026-12-08 14:05:09", At(2026, 12, 8, 14, 5, 9)},
        {u"2026/12/8 2:05 PM", At(2026, 12, 8, 14, 5)},
        {u"  2026-12-08  ", At(2026, 12, 8)},
        {u"2026-12-08T14:05:09", At(2026, 12, 8, 14, 5, 9)},
        {u"08/12/2026 14:05:09", At(2026, 12, 8, 14, 5, 9)},  // day first, as the hint shows
        {u"8.12.26 9:30", At(2026, 12, 8, 9, 30)},
        {u"12/31/2026", At(2026, 12, 31)},  // 31 cannot be a month
        {u"2026-12-08 12:00 am", At(2026, 12, 8, 0, 0)},
        {u"2026-12-08 12:30 p.m.", At(2026, 12, 8, 12, 30)},
        {u"2026-12-08 7 pm", At(2026, 12, 8, 19, 0)},
    };
    for (const auto& [text, expected] : cases) {
        const auto parsed = ParseDateText(text);
        ASSERT_TRUE(parsed.has_value()) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(*parsed, expected) << QString::fromUtf16(text).toStdString();
    }
}

TEST(ParseDateText, TimeAloneIsToday)
{
    const QDate before = QDate::currentDate();
    const auto parsed = ParseDateText(u"14:05");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->time(), QTime(14, 5));
    EXPECT_TRUE(parsed->date() == before || parsed->date() == QDate::currentDate());
}

TEST(ParseDateText, NonsenseIsRejected)
{
    for (const char16_t* text : {u"", u"   ", u"abc", u"2026", u"14", u"2026-13-01", u"2026-02-30",
                                 u"2026-12-08 25:00", u"2026-12-08 14:60", u"14:05 tomorrow",
                                 u"2026-12-08x", u"13:00 PM", u"0:30 AM", u"2026-12-0814:05",
                                 u"123/4/5", u"2026-12-08 -1:00"})
        EXPECT_FALSE(ParseDateText(text).has_value()) << QString::fromUtf16(text).toStdString();
}
