// Reading the program's options and joining the remaining words into one path.
#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CommandLine, WordsAfterOptionsJoinIntoOnePathWithSingleBlanks)
{
    const auto o = ParseCommandLine({"--offscreen", "My", "Holiday", "Pictures"});
    EXPECT_TRUE(o.offscreen);
    EXPECT_EQ(o.rawPath, u"My Holiday Pictures"_s);
}

TEST(CommandLine, DoubleDashEndsOptionsSoAPathMayLookLikeOne)
{
    const auto o = ParseCommandLine({"--script", "s.lumo", "--", "--odd name.jpg"});
    EXPECT_EQ(o.script, u"s.lumo"_s);
    EXPECT_EQ(o.rawPath, u"--odd name.jpg"_s);
}

TEST(CommandLine, OptionsAfterThePathBelongToThePath)
{
    const auto o = ParseCommandLine({"a.jpg", "--offscreen"});
    EXPECT_FALSE(o.offscreen);
    EXPECT_EQ(o.rawPath, u"a.jpg --offscreen"_s);
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
    EXPECT_TRUE(o.scaleGiven);
    EXPECT_FALSE(ParseCommandLine({}).scaleGiven);
    EXPECT_TRUE(o.error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--screen", "480"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--scale", "0"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--registry"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--bogus"}).error.isEmpty());
}

TEST(CommandLine, DesktopScaleIsTheLargestWholeFactorThatFitsOnLargeScreens)
{
    struct Case {
        int w, h, devW, devH, scale;
    } cases[] = {
        {1920, 1080, 240, 320, 3},    // 1080 rows less the title bar hold 3 x 320
        {3840, 2160, 240, 320, 6},    // 4K: the height decides
        {1366, 768, 240, 320, 1},     // less than three device screens high
        {719, 2000, 240, 320, 1},     // less than three wide
        {720, 1024, 240, 320, 3},     // exactly three both ways, with room for the title bar
        {720, 960, 240, 320, 2},      // three high, but the title bar would not fit
        {20000, 20000, 240, 320, 8},  // never more than --scale allows
        {1920, 1080, 480, 640, 1},    // a large device screen stays at 1
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesktopScale(c.w, c.h, c.devW, c.devH), c.scale) << c.w << "x" << c.h;
}
