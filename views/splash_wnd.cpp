#include "views/splash_wnd.h"

int CSplashWnd::s_requests = 0;

void CSplashWnd::ShowSplash(QWidget*, int, int, bool wanted)
{
    if (wanted)
        ++s_requests;
}
