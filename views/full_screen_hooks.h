// CFullScreenFrameHooks: the main frame as a full-screen view lays it out.
// The frame lives in the shell and implements these; the view finds it as the
// application's main window, so that while the frame is being made or
// destroyed there is none and nothing is laid out.
#pragma once

#include <QRect>

class CFullScreenFrameHooks {
public:
    virtual ~CFullScreenFrameHooks() = default;
    // Puts the frame above the device screen's other children.
    virtual void RaiseFrame() = 0;
    // Moves the frame to rect, in screen pixels.
    virtual void SetFrameRect(const QRect& rect) = 0;
    // Shows or hides the command bar band, and the input-panel button on it.
    virtual void ShowCommandBar(bool show) = 0;
    virtual void ShowSipButton(bool show) = 0;
};
