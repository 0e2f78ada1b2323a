#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {
CommandLine parse(const QStringList& args) { return ParseCommandLine(args); }
}

TEST(CommandLine, OtherArgumentsAreTheFileJoinedAsTheyCame)
{
    EXPECT_EQ(parse({}).action, CommandLine::Action::Run);
    EXPECT_EQ(parse({}).file, "");
    // A path with spaces that the shell split, and one that kept its quotes: both reach the
    // frame as one text (the frame removes the quotes).
    const CommandLine split = parse({"/home/t/lab", "sounds/fork", "440.wav"});
    EXPECT_EQ(split.action, CommandLine::Action::Run);
    EXPECT_EQ(split.file, "/home/t/lab sounds/fork 440.wav");
    EXPECT_EQ(parse({"\"my fork.wav\""}).file, "\"my fork.wav\"");
    // Texts that merely look like options are file names.
    EXPECT_EQ(parse({"-version.wav"}).file, "-version.wav");
    EXPECT_EQ(parse({"--helpful"}).action, CommandLine::Action::Run);
    EXPECT_EQ(parse({"-"}).file, "-");
}

TEST(CommandLine, HelpAndVersionAnywhereBeforeTheEndOfOptions)
{
    EXPECT_EQ(parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parse({"-v"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parse({"fork.wav", "--help"}).action, CommandLine::Action::Help);
    // The first one asked for is answered.
    EXPECT_EQ(parse({"--version", "--help"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parse({"-h", "-v"}).action, CommandLine::Action::Help);
}

TEST(CommandLine, DoubleDashMakesTheRestTheFile)
{
    const CommandLine odd = parse({"--", "--help"});
    EXPECT_EQ(odd.action, CommandLine::Action::Run);
    EXPECT_EQ(odd.file, "--help");
    EXPECT_EQ(parse({"--", "-v", "take", "2.wav"}).file, "-v take 2.wav");
    // Only the first "--" ends the options; a later one is part of the name.
    EXPECT_EQ(parse({"--", "a", "--", "b.wav"}).file, "a -- b.wav");
    EXPECT_EQ(parse({"--"}).file, "");
}
