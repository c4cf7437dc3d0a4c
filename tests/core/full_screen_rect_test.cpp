// The main frame's rectangle for each full-screen option set on the device
// screen and on a larger one.
#include "app/full_screen_rect.h"

#include <gtest/gtest.h>

TEST(FullScreenRect, EachOptionSetPlacesTheFrame)
{
    struct Case {
        int options;
        int on;
        CFrameRect expected;
    };
    const Case cases[] = {
        {15, 1, {0, 0, 240, 320}},   // everything hidden: the whole screen
        {0, 1, {0, 26, 240, 294}},   // no bits: the normal layout
        {15, 0, {0, 26, 240, 294}},  // switch off: the normal layout
        {2, 1, {0, 0, 240, 294}},    // task bar only: the command bar stays
        {1, 1, {0, 26, 240, 320}},   // command bar only
        {12, 1, {0, 26, 240, 294}},  // input-panel button and Start icon move nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(FullScreen::FrameRect(c.options, c.on, 240, 320), c.expected) << c.options << " " << c.on;
    EXPECT_EQ(FullScreen::FrameRect(15, 1, 480, 640), (CFrameRect {0, 0, 480, 640}));
    EXPECT_EQ(FullScreen::FrameRect(0, 0, 480, 640), (CFrameRect {0, 26, 480, 614}));
}
