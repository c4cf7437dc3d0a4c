// Reading the program's options and joining the remaining words into one path.
#include "app/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, WordsAfterOptionsJoinIntoOnePathWithSingleBlanks)
{
    const auto o = ParseCommandLine({"--offscreen", "My", "Holiday", "Pictures"});
    EXPECT_TRUE(o.offscreen);
    EXPECT_EQ(o.rawPath, QStringLiteral("My Holiday Pictures"));
}

TEST(CommandLine, DoubleDashEndsOptionsSoAPathMayLookLikeOne)
{
    const auto o = ParseCommandLine({"--script", "s.lumo", "--", "--odd name.jpg"});
    EXPECT_EQ(o.script, QStringLiteral("s.lumo"));
    EXPECT_EQ(o.rawPath, QStringLiteral("--odd name.jpg"));
}

TEST(CommandLine, OptionsAfterThePathBelongToThePath)
{
    const auto o = ParseCommandLine({"a.jpg", "--offscreen"});
    EXPECT_FALSE(o.offscreen);
    EXPECT_EQ(o.rawPath, QStringLiteral("a.jpg --offscreen"));
}

TEST(CommandLine, NoWordsGiveAnEmptyPath)
{
    EXPECT_TRUE(ParseCommandLine({}).rawPath.isEmpty());
    EXPECT_TRUE(ParseCommandLine({"--offscreen"}).rawPath.isEmpty());
}

TEST(CommandLine, ScreenAndScaleAreCheckedValues)
{
    auto o = ParseCommandLine({"--screen", "480x640", "--scale", "2"});
    EXPECT_EQ(o.screenWidth, 480);
    EXPECT_EQ(o.screenHeight, 640);
    EXPECT_EQ(o.scale, 2);
    EXPECT_TRUE(o.error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--screen", "480"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--scale", "0"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--registry"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--bogus"}).error.isEmpty());
}
