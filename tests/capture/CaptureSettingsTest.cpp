#include "capture/CaptureLayout.h"
#include "capture/CaptureSettings.h"
#include "capture/DriverList.h"
#include "capture/FileSpace.h"
#include "general/General.h"
#include "capture/device/CaptureStatus.h"
#include "platform/system/Settings.h"
#include "support/TempDir.h"

#include <QFile>
#include <QtEndian>
#include <filesystem>
#include <gtest/gtest.h>

using namespace capture;

namespace {
qint32 FieldAt(const QByteArray& record, int offset)
{
    return qFromLittleEndian<qint32>(reinterpret_cast<const uchar*>(record.constData()) + offset);
}
}

TEST(CaptureParametersRecord, SequenceDialogFillsTheRecordFieldByField)
{
    const QByteArray r = SequenceParameters("15", true, "45", true, "324000", " audio ").toBytes();
    ASSERT_EQ(r.size(), 96);
    const std::pair<int, qint32> expected[] = {
        {0, 66667}, {4, 1}, {8, 10}, {12, 0}, {16, 324000}, {20, 0}, {24, 0}, {28, 32}, {32, 1},
        {36, 8}, {40, 0}, {44, 1}, {48, 1}, {52, 1}, {56, 45}, {88, 1}, {92, 0}};
    for (auto [offset, value] : expected) EXPECT_EQ(FieldAt(r, offset), value) << "offset " << offset;
    for (int offset = 60; offset <= 84; offset += 4) EXPECT_EQ(FieldAt(r, offset), 0) << offset;

    const QByteArray plain = SequenceParameters("100", false, "30", false, "27000", "NONE").toBytes();
    EXPECT_EQ(FieldAt(plain, 0), 10000);
    EXPECT_EQ(FieldAt(plain, 16), 27000);
    EXPECT_EQ(FieldAt(plain, 32), 0);
    EXPECT_EQ(FieldAt(plain, 52), 0);
    EXPECT_EQ(FieldAt(plain, 92), 1);
    EXPECT_EQ(CaptureParameters::FromBytes(r)->toBytes(), r);
    EXPECT_FALSE(CaptureParameters::FromBytes(r.left(95)));
}

TEST(CaptureParametersRecord, FramePeriodRoundsToTheNearestMicrosecond)
{
    EXPECT_EQ(MicroSecondsPerFrame(15), 66667);
    EXPECT_EQ(MicroSecondsPerFrame(100), 10000);
    EXPECT_EQ(MicroSecondsPerFrame(7), 142857);
    EXPECT_EQ(MicroSecondsPerFrame(0), 0);
    EXPECT_EQ(MicroSecondsPerFrame(-3), 0);
    EXPECT_EQ(LimitFps("0"), "1");
    EXPECT_EQ(LimitFps(""), "1");
    EXPECT_EQ(LimitFps("250"), "100");
    EXPECT_EQ(LimitFps("30"), "30");
    EXPECT_EQ(LimitColours("8"), "16");
    EXPECT_EQ(LimitColours("999"), "256");
    EXPECT_EQ(LimitColours("64"), "64");
}

TEST(CaptureSettingsStore, DefaultsAndRoundTrip)
{
    const VidcapSettings fresh = VidcapSettings::Load();
    EXPECT_EQ(fresh.fps, "15");
    EXPECT_FALSE(fresh.timeLimit);
    EXPECT_EQ(fresh.seconds, "30");
    EXPECT_FALSE(fresh.captureAudio);
    VidcapSettings s{"25", true, "12", true};
    s.save();
    EXPECT_EQ(platform::GetSetting("KIVRA", "vidcap settings", "time limit"), "1");
    EXPECT_EQ(platform::GetSetting("KIVRA", "vidcap settings", "cap audio"), "1");
    const VidcapSettings back = VidcapSettings::Load();
    EXPECT_EQ(back.fps, "25");
    EXPECT_TRUE(back.timeLimit);
    EXPECT_EQ(back.seconds, "12");
    EXPECT_TRUE(back.captureAudio);

    const CapturePreferences prefs = CapturePreferences::Load();
    EXPECT_EQ(prefs.backcolor, "&H404040");
    EXPECT_EQ(prefs.maxframes, "27000");
    EXPECT_EQ(prefs.streammaster, "AUDIO");
    EXPECT_EQ(StoredDriverIndex(), "0");
    EXPECT_EQ(PaletteColours(), "256");
}

TEST(CapturePreferencesRules, ColourChoicesAndTheirStoredValues)
{
    EXPECT_EQ(ChoiceOfColour(general::Val(u"&H404040")), BackgroundChoice::DarkGray);
    EXPECT_EQ(ChoiceOfColour(general::Val(u"12632256")), BackgroundChoice::LightGray);
    EXPECT_EQ(ChoiceOfColour(0), BackgroundChoice::Black);
    // The window colour, written back as a decimal number, and any other colour select Default.
    EXPECT_EQ(ChoiceOfColour(general::Val(u"-2147483643")), BackgroundChoice::Default);
    EXPECT_EQ(ChoiceOfColour(general::Val(u"&HFF")), BackgroundChoice::Default);
    EXPECT_EQ(ValueOfChoice(BackgroundChoice::Default), -2147483643);
    EXPECT_EQ(ValueOfChoice(BackgroundChoice::LightGray), 12632256);

    const QColor window(Qt::white);
    EXPECT_EQ(ColourOfValue(general::Val(u"&H00C00000"), window), QColor(0, 0, 0xC0));
    EXPECT_EQ(ColourOfValue(general::Val(u"&H0000FF"), window), QColor(0xFF, 0, 0));
    EXPECT_EQ(ColourOfValue(-2147483643, window), window);
    EXPECT_EQ(ColourOfValue(general::Val(u"&H80000005"), window), window);

    EXPECT_TRUE(SynchToAudio(" audio "));
    EXPECT_FALSE(SynchToAudio("NONE"));
    EXPECT_TRUE(IsShortIndex("27000"));
    EXPECT_FALSE(IsShortIndex("324000"));
    EXPECT_FALSE(IsShortIndex("junk"));
}

TEST(CaptureWindowLayout, SizeAroundThePictureAndTheSmallestClientArea)
{
    const FrameMetrics frame{4, 3, 20, 22};
    EXPECT_EQ(WindowSizeForPicture({640, 480}, frame), QSize(648, 480 + 12 + 20 + 22));
    // Narrower and lower than 320 by 240: each side springs back on its own.
    EXPECT_EQ(SpringBack({200, 600}, {192, 550}, frame), QSize(328, 600));
    EXPECT_EQ(SpringBack({500, 150}, {492, 100}, frame), QSize(500, 240 + 6 + 22 + 20));
    EXPECT_EQ(SpringBack({400, 300}, {392, 255}, frame), QSize(400, 300));
    // Centred to the nearest pixel, halves to even.
    // A picture too large for the area is shown smaller, keeping its shape.
    EXPECT_EQ(FitPicture({640, 480}, {1000, 800}, frame), QSize(640, 480));
    EXPECT_EQ(FitPicture({640, 480}, {800, 400}, frame), QSize(461, 346));
    EXPECT_EQ(WindowSizeForPicture(FitPicture({640, 480}, {800, 400}, frame), frame).height(), 400);
    EXPECT_EQ(CentredPicture({325, 245}, {320, 240}), QPoint(2, 2));
    EXPECT_EQ(CentredPicture({327, 247}, {320, 240}), QPoint(4, 4));
    EXPECT_EQ(CentredPicture({320, 240}, {640, 480}), QPoint(-160, -120));
}

TEST(CaptureWindowLayout, OpeningPositionStaysOnTheArea)
{
    const QSize area(15000, 12000), window(6000, 5000);
    EXPECT_EQ(OpeningPosition("", "", area, window), QPoint(4500, 3500));
    EXPECT_EQ(OpeningPosition("-300", "-1", area, window), QPoint(0, 0));
    EXPECT_EQ(OpeningPosition("14000", "99999", area, window), QPoint(9000, 7000));
    EXPECT_EQ(OpeningPosition("1200.5", "abc", area, window), QPoint(1200, 0));
    EXPECT_EQ(OpeningPosition("100", "100", QSize(3000, 3000), window), QPoint(0, 0));
    // Only the right part of the area can be seen (the frame is partly off the screen): centred
    // on that part by default, and a stored place left of it is brought in.
    const QRect seen(4000, 0, 11000, 12000);
    EXPECT_EQ(OpeningPosition("", "", seen, window), QPoint(6500, 3500));
    EXPECT_EQ(OpeningPosition("1000", "2000", seen, window), QPoint(4000, 2000));
    EXPECT_EQ(OpeningPosition("1e30", "-1e30", seen, window), QPoint(9000, 0)) << "far beyond any int";
}

TEST(CaptureDrivers, GapsAreSkippedAndTheStoredIndexFallsBack)
{
    EXPECT_TRUE(DriverItems([](int, QString&, QString&) { return false; }).empty());
    const auto items = DriverItems([](int i, QString& name, QString& version) {
        if (i != 0 && i != 2) return false;
        name = QString("Camera %1").append(QChar(0)).append("junk").arg(i);
        version = "v1";
        return true;
    });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].index, 0);
    EXPECT_EQ(items[1].index, 2);
    EXPECT_EQ(items[1].caption, "Camera 2 v1");
    EXPECT_EQ(ChosenDriver("2", items), 2);
    EXPECT_EQ(ChosenDriver("5", items), 0);
    EXPECT_EQ(ChosenDriver("1", items), 0);
    EXPECT_EQ(ChosenDriver("-1", items), 0);
    EXPECT_EQ(ChosenDriver("x", items), 0);
}

TEST(CaptureFileSpace, StartingSizeAndLimitToTheFreeSpace)
{
    EXPECT_EQ(InitialAllocation(-1), "1");
    EXPECT_EQ(InitialAllocation(524288), "1");
    EXPECT_EQ(InitialAllocation(3 * 1048576), "3");
    EXPECT_EQ(InitialAllocation(1572864), "1.5");
    EXPECT_EQ(LimitAllocation("-5", "100"), "1");
    EXPECT_EQ(LimitAllocation("500", "100"), "100");
    EXPECT_EQ(LimitAllocation("50", "100"), "50");
    // With less than 1 MB free the entry is not limited.
    EXPECT_EQ(LimitAllocation("500", "0"), "500");
    // Sizes past 2 GB stay whole (no 32-bit overflow).
    EXPECT_EQ(AllocationBytes("3000"), 3000LL * 1048576);
    EXPECT_EQ(AllocationBytes("1.5"), 1572864);
    EXPECT_EQ(AllocationBytes("-1"), 0);

    TempDir dir;
    const auto free = std::filesystem::space(dir.path().toStdString()).available / 1048576;
    const qint64 reported = FreeDiskMegabytes(dir.file("not-yet/capture.avi")).toLongLong();
    EXPECT_NEAR(double(reported), double(free), 64.0);
    EXPECT_GT(reported, 0);
}

TEST(CaptureStatusTexts, ProgressAndSummaries)
{
    CaptureCounts c;
    c.frames = 30;
    c.dropped = 2;
    c.seconds = 2.1333;
    EXPECT_EQ(ProgressText(c), "Captured 30 frames (2 dropped) 2.133 sec.");
    EXPECT_EQ(SummaryText(c), "Captured 2.133 sec. 30 frames (2 dropped) (14.063 fps).");
    EXPECT_EQ(SummaryNumber(c), 512);
    c.withAudio = true;
    c.audioBytes = 94080;
    c.samplesPerSecond = 22050;
    EXPECT_EQ(SummaryText(c), "Captured 2.133 sec. 30 frames (2 dropped) (14.063 fps). 94080 audio "
                              "bytes (22050 sps)");
    EXPECT_EQ(SummaryNumber(c), 511);
}
