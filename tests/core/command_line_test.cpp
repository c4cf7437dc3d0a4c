// Reading the program's options and joining the remaining words into one path,
// the desktop scale, and the main frame's rectangle for the full-screen options.
#include "app/command_line.h"
#include "app/full_screen_rect.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CommandLine, WordsAfterTheOptionsJoinIntoOnePathAndScreenAndScaleAreCheckedValues)
{
    const struct {
        QStringList args;
        bool offscreen;
        const char* path;
    } cases[] = {
        {{"--offscreen", "My", "Holiday", "Pictures"}, true, "My Holiday Pictures"},
        {{"--script", "s.lumo", "--", "--odd name.jpg"}, false, "--odd name.jpg"},  // -- ends the options
        {{"a.jpg", "--offscreen"}, false, "a.jpg --offscreen"},  // options after the path belong to it
        {{"--offscreen"}, true, ""},
    };
    for (const auto& c : cases) {
        const auto o = ParseCommandLine(c.args);
        EXPECT_EQ(o.offscreen, c.offscreen) << c.path;
        EXPECT_EQ(o.rawPath, QString::fromLatin1(c.path));
    }
    EXPECT_EQ(ParseCommandLine({"--script", "s.lumo"}).script, u"s.lumo"_s);
    const auto o = ParseCommandLine({"--screen", "480x640", "--scale", "2"});
    EXPECT_EQ((std::vector<int> {o.screenWidth, o.screenHeight, o.scale, o.scaleGiven}),
              (std::vector<int> {480, 640, 2, 1}));
    EXPECT_TRUE(o.error.isEmpty());
    for (const QStringList& bad : {QStringList {"--screen", "480"}, {"--scale", "0"}, {"--registry"}, {"--bogus"}})
        EXPECT_FALSE(ParseCommandLine(bad).error.isEmpty()) << bad.join(u' ').toStdString();
}

TEST(CommandLine, DesktopScaleIsTheLargestWholeFactorThatFitsOnLargeScreens)
{
    const struct {
        int w, h, devW, devH, scale;
    } cases[] = {
        {1920, 1080, 240, 320, 3},    // 1080 rows less the title bar hold 3 x 320
        {719, 2000, 240, 320, 1},     // less than three wide
        {720, 1024, 240, 320, 3},     // exactly three both ways, with room for the title bar
        {720, 960, 240, 320, 2},      // three high, but the title bar would not fit
        {20000, 20000, 240, 320, 8},  // never more than --scale allows
        {1920, 1080, 480, 640, 1},    // a large device screen stays at 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopScale(c.w, c.h, c.devW, c.devH), c.scale) << c.w << "x" << c.h;
}

// The device screen's sets are the frame tests' (InProcessFrame); the bits
// that move nothing and a larger screen are these.
TEST(FullScreenRect, EachOptionSetPlacesTheFrame)
{
    const struct {
        int options, on;
        CFrameRect expected;
        int width = 240, height = 320;
    } cases[] = {
        {1, 1, {0, 26, 240, 320}},   // command bar only
        {12, 1, {0, 26, 240, 294}},  // input-panel button and Start icon move nothing
        {15, 1, {0, 0, 480, 640}, 480, 640},
        {0, 0, {0, 26, 480, 614}, 480, 640},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FullScreen::FrameRect(c.options, c.on, c.width, c.height), c.expected) << c.options << " " << c.on;
}
