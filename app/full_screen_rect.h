// Where the main frame lies for a full-screen option set and switch. Bit 0
// gives the command bar's band at the bottom to the frame, bit 1 the task
// bar's band at the top; bits 2 and 3 (input-panel button, Start icon) do not
// move the frame.
#pragma once

struct CFrameRect {
    int left;
    int top;
    int right;
    int bottom;
    bool operator==(const CFrameRect&) const = default;
};

namespace FullScreen {

constexpr int kHideCommandBar = 1;
constexpr int kHideTaskBar = 2;
constexpr int kHideSipButton = 4;
constexpr int kHideStartIcon = 8;
constexpr int kAllOptions = 15;
constexpr int kBandHeight = 26;  // the task bar and the command bar

// True when the option bit takes effect: set and the switch on.
inline bool Hides(int options, int fullScreenSwitch, int bit)
{
    return (options & bit) != 0 && fullScreenSwitch == 1;
}

// The frame rectangle on a screen of width x height pixels.
CFrameRect FrameRect(int options, int fullScreenSwitch, int width, int height);

}  // namespace FullScreen
