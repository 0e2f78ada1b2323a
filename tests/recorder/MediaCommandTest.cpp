// The command language of the media-control interface: words, quoted words, the commands the
// recorder sends and what is refused.
#include "recorder/mci/MediaCommand.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MediaWords, BlanksSeparateAndQuotesHoldBlanks)
{
    EXPECT_EQ(*MediaWords(u"  record   capture "), (QStringList{"record", "capture"}));
    EXPECT_EQ(*MediaWords(u"save capture \"/home/a b/take 1.wav\""),
              (QStringList{"save", "capture", "/home/a b/take 1.wav"}));
    EXPECT_EQ(*MediaWords(u"save capture \"\""), (QStringList{"save", "capture", ""}));
    // A quote inside a word is part of it; an unclosed quote makes no command.
    EXPECT_EQ(*MediaWords(u"save capture it\"s.wav"), (QStringList{"save", "capture", "it\"s.wav"}));
    EXPECT_FALSE(MediaWords(u"save capture \"unclosed.wav"));
    EXPECT_EQ(*MediaWords(u""), QStringList());
}

TEST(MediaCommand, TheRecordersCommandsAreUnderstood)
{
    MediaParse p = ParseMediaCommand(u"open new type waveaudio alias capture");
    ASSERT_TRUE(p.command) << qPrintable(p.error);
    EXPECT_EQ(p.command->verb, MediaVerb::Open);
    EXPECT_EQ(p.command->element, "new");
    EXPECT_EQ(p.command->type, "waveaudio");
    EXPECT_EQ(p.command->alias, "capture");

    p = ParseMediaCommand(u"OPEN /music/Song.MID TYPE Sequencer ALIAS midi");
    ASSERT_TRUE(p.command);
    EXPECT_EQ(p.command->element, "/music/Song.MID");   // names keep their case
    EXPECT_EQ(p.command->type, "sequencer");

    p = ParseMediaCommand(u"set capture alignment 4 bitspersample 16 samplespersec 44100 channels 2 bytespersec 176400");
    ASSERT_TRUE(p.command);
    EXPECT_EQ(p.command->verb, MediaVerb::Set);
    const std::vector<std::pair<QString, std::int64_t>> format{
        {"alignment", 4}, {"bitspersample", 16}, {"samplespersec", 44100}, {"channels", 2}, {"bytespersec", 176400}};
    EXPECT_EQ(p.command->format, format);
    EXPECT_FALSE(p.command->timeFormat);

    EXPECT_EQ(ParseMediaCommand(u"set capture time format ms").command->timeFormat, MediaTimeFormat::Milliseconds);
    EXPECT_EQ(ParseMediaCommand(u"set capture time format milliseconds").command->timeFormat, MediaTimeFormat::Milliseconds);
    EXPECT_EQ(ParseMediaCommand(u"set capture time format bytes").command->timeFormat, MediaTimeFormat::Bytes);

    p = ParseMediaCommand(u"play capture from 0");
    ASSERT_TRUE(p.command);
    EXPECT_EQ(p.command->verb, MediaVerb::Play);
    EXPECT_EQ(p.command->from, 0);
    EXPECT_FALSE(ParseMediaCommand(u"play midi").command->from);

    p = ParseMediaCommand(u"save capture C:\\Audio.wav");
    ASSERT_TRUE(p.command);
    EXPECT_EQ(p.command->fileName, "C:\\Audio.wav");

    struct Item {
        const char16_t* text;
        MediaItem item;
    };
    for (Item i : {Item{u"status capture mode", MediaItem::Mode}, Item{u"status capture length", MediaItem::Length},
                   Item{u"status capture channels", MediaItem::Channels},
                   Item{u"status capture bitspersample", MediaItem::BitsPerSample},
                   Item{u"status capture samplespersec", MediaItem::SamplesPerSec}})
        EXPECT_EQ(ParseMediaCommand(i.text).command->item, i.item);

    for (const char16_t* plain : {u"close all", u"close capture", u"seek capture to start", u"record capture",
                                  u"stop capture", u"stop midi"})
        EXPECT_TRUE(ParseMediaCommand(plain).command) << QString::fromUtf16(plain).toStdString();
}

TEST(MediaCommand, WhatIsNotACommandIsRefusedWithAReason)
{
    for (const char16_t* bad : {
             u"", u"record", u"dance capture", u"open new type waveaudio", u"open new alias capture",
             u"open new type waveaudio alias", u"open new colour red alias capture", u"seek capture to end",
             u"set capture", u"set capture channels", u"set capture channels two", u"set capture channels -1",
             u"set capture volume 5", u"set capture time format frames", u"record capture now",
             u"play capture from", u"play capture from x", u"save capture", u"save capture a b",
             u"status capture", u"status capture position", u"save capture \"open", u"close capture now"}) {
        const MediaParse p = ParseMediaCommand(bad);
        EXPECT_FALSE(p.command) << QString::fromUtf16(bad).toStdString();
        EXPECT_FALSE(p.error.isEmpty()) << QString::fromUtf16(bad).toStdString();
    }
}
