#include "views/splash_wnd.h"

#include "views/device_screen.h"
#include "views/program_art.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>

CSplashWnd::CSplashWnd(int bitmapId, int displayMs)
    : m_bitmapId(bitmapId)
    , m_displayMs(displayMs)
{
    setProperty("lumoClass", QStringLiteral("CSplashWnd"));
}

void CSplashWnd::ShowSplash(QWidget* screen, int bitmapId, int displayMs, bool wanted)
{
    if (!wanted || !screen)
        return;
    auto* splash = new CSplashWnd(bitmapId, displayMs);
    if (!splash->Show(screen))
        delete splash;
}

bool CSplashWnd::Show(QWidget* screen)
{
    if (!screen)
        return false;
    // A missing picture gives a window of no size; nothing is reported.
    m_bitmap = ProgramArt::LoadBitmap(m_bitmapId);
    setParent(screen);
    setGeometry((screen->width() - m_bitmap.width()) / 2, (screen->height() - m_bitmap.height()) / 2, m_bitmap.width(),
                m_bitmap.height());
    if (auto* device = qobject_cast<CDeviceScreen*>(screen))
        device->SetTopMost(this);
    qApp->installEventFilter(this);
    // The device's screen is there from the start: the splash paints on it
    // before the main window is made.
    screen->show();
    show();
    repaint();
    m_timerId = startTimer(m_displayMs);
    return true;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_bitmap, QRect(0, 0, width(), height()));
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (!OnTimer(event->timerId()))
        QWidget::timerEvent(event);
}

bool CSplashWnd::OnTimer(int timerId)
{
    if (timerId == 0 || timerId != m_timerId)
        return false;
    Close();
    return true;
}

void CSplashWnd::Close()
{
    if (m_timerId != 0)
        killTimer(m_timerId);
    m_timerId = 0;
    hide();
    if (!m_swallowing)
        deleteLater();
}

void CSplashWnd::StopSwallowing()
{
    m_swallowing = false;
    deleteLater();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so that no shortcut takes the key before the splash does.
        if (isVisible())
            event->accept();
        return false;
    case QEvent::KeyPress:
        if (!isVisible())
            return false;
        Close();
        return true;
    case QEvent::MouseButtonPress:
        if (m_swallowing) {
            // A tap of its own, after the one that closed the splash.
            StopSwallowing();
            return false;
        }
        if (watched != this || !isVisible())
            return false;
        // The rest of this tap, and the second half of a double tap, belong
        // to the splash too: they would reach the window below it.
        m_swallowing = true;
        Close();
        QTimer::singleShot(QApplication::doubleClickInterval(), this, [this] { StopSwallowing(); });
        return true;
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return m_swallowing;
    case QEvent::MouseMove:
        return m_swallowing && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
    default:
        return false;
    }
}
