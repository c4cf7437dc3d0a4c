#include "views/full_screen_view.h"

#include "app/full_screen_rect.h"
#include "platform/win_app.h"
#include "views/device_screen.h"
#include "views/full_screen_hooks.h"

#include <QPointer>
#include <QTimer>

using namespace FullScreen;

CSTFullScreenViewLite::CSTFullScreenViewLite(QWidget* parent)
    : QWidget(parent)
{
    // Applied once the window exists and the deriving view has set its values.
    PostApply();
}

CSTFullScreenViewLite::~CSTFullScreenViewLite()
{
    // Put the bars and the frame back. While the frame itself is being
    // destroyed there is no main frame any more and nothing is laid out.
    m_fullScreen = 0;
    ApplyFullScreen();
}

void CSTFullScreenViewLite::PostApply()
{
    QPointer<CSTFullScreenViewLite> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            self->ApplyFullScreen();
    });
}

int CSTFullScreenViewLite::ApplyFullScreen()
{
    CWinApp* app = CWinApp::Instance();
    auto* frame = app ? dynamic_cast<CFullScreenFrameHooks*>(app->MainWnd()) : nullptr;
    CDeviceScreen* screen = CDeviceScreen::Instance();
    if (!frame || !screen)
        return 0;
    frame->RaiseFrame();
    const CFrameRect r = FrameRect(m_fullScreenOptions, m_fullScreen, screen->width(), screen->height());
    const QRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (Hides(m_fullScreenOptions, m_fullScreen, kHideCommandBar)) {
        frame->SetFrameRect(rect);
        frame->ShowCommandBar(false);
    } else {
        frame->ShowCommandBar(true);
        frame->SetFrameRect(rect);
    }
    screen->ShowTaskBar(!Hides(m_fullScreenOptions, m_fullScreen, kHideTaskBar));
    frame->ShowSipButton(!Hides(m_fullScreenOptions, m_fullScreen, kHideSipButton));
    // This shell has no Start icon: bit 3 has nothing to hide.
    return 1;
}

void CSTFullScreenViewLite::ToggleFullScreen()
{
    m_fullScreen = m_fullScreen == 0 ? 1 : 0;
    ApplyFullScreen();
}

void CSTFullScreenViewLite::focusInEvent(QFocusEvent* event)
{
    PostApply();
    QWidget::focusInEvent(event);
}
