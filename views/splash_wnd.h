// CSplashWnd: the start-up splash window. Its window arrives with its own
// piece of work; until then ShowSplash records the request and shows nothing,
// so start-up keeps its order and never waits for it.
#pragma once

class QWidget;

class CSplashWnd {
public:
    // Shows bitmap resource bitmapId over screen for displayMs milliseconds
    // when wanted (interactive runs, or scripts that ask with --splash).
    static void ShowSplash(QWidget* screen, int bitmapId, int displayMs, bool wanted);
    static int Requests() { return s_requests; }

private:
    static int s_requests;
};
