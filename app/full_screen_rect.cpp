#include "app/full_screen_rect.h"

namespace FullScreen {

CFrameRect FrameRect(int options, int fullScreenSwitch, int width, int height)
{
    int top = 0;
    int h = height;
    if (!Hides(options, fullScreenSwitch, kHideCommandBar))
        h -= kBandHeight;
    if (!Hides(options, fullScreenSwitch, kHideTaskBar)) {
        top = kBandHeight;
        h -= kBandHeight;
    }
    return CFrameRect {0, top, width, top + h};
}

}  // namespace FullScreen
