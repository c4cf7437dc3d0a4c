// The main frame's rectangle for each full-screen option set on the device
// screen and on a larger one.
#include "app/full_screen_rect.h"

#include <gtest/gtest.h>

TEST(FullScreenRect, EachOptionSetPlacesTheFrame)
{
    const struct {
        int options, on;
        CFrameRect expected;
        int width = 240, height = 320;
    } cases[] = {
        {15, 1, {0, 0, 240, 320}},   // everything hidden: the whole screen
        {0, 1, {0, 26, 240, 294}},   // no bits: the normal layout
        {15, 0, {0, 26, 240, 294}},  // switch off: the normal layout
        {2, 1, {0, 0, 240, 294}},    // task bar only: the command bar stays
        {1, 1, {0, 26, 240, 320}},   // command bar only
        {12, 1, {0, 26, 240, 294}},  // input-panel button and Start icon move nothing
        {15, 1, {0, 0, 480, 640}, 480, 640},
        {0, 0, {0, 26, 480, 614}, 480, 640},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FullScreen::FrameRect(c.options, c.on, c.width, c.height), c.expected) << c.options << " " << c.on;
}
