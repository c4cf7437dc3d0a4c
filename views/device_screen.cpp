#include "views/device_screen.h"

#include <QChildEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <algorithm>

namespace {
CDeviceScreen* g_screen = nullptr;
}

CTaskBar::CTaskBar(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CTaskBar"));
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { update(); });
    timer->start(30000);
}

void CTaskBar::SetTitle(const QString& title)
{
    m_title = title;
    update();
}

void CTaskBar::SetFixedClock(const QString& clock)
{
    m_fixedClock = clock;
    update();
}

void CTaskBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 40, 120));
    p.setPen(Qt::white);
    QFont f = font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const QString clock
        = m_fixedClock.isEmpty() ? QTime::currentTime().toString(QStringLiteral("HH:mm")) : m_fixedClock;
    const QRect r = rect().adjusted(6, 0, -6, 0);
    p.drawText(r, Qt::AlignVCenter | Qt::AlignLeft, m_title);
    p.drawText(r, Qt::AlignVCenter | Qt::AlignRight, clock);
}

CDeviceScreen::CDeviceScreen(int width, int height)
    : m_taskBar(new CTaskBar(this))
{
    g_screen = this;
    setProperty("lumoClass", QStringLiteral("CDeviceScreen"));
    setWindowTitle(QStringLiteral("Lumo"));
    setFixedSize(width, height);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    m_taskBar->setGeometry(TaskBarRect());
}

CDeviceScreen* CDeviceScreen::Instance()
{
    return g_screen;
}

void CDeviceScreen::ShowTaskBar(bool show)
{
    m_taskBar->setVisible(show);
}

bool CDeviceScreen::TaskBarVisible() const
{
    return !m_taskBar->isHidden();
}

QRect CDeviceScreen::TaskBarRect() const
{
    return QRect(0, 0, width(), kTaskBarHeight);
}

QRect CDeviceScreen::CommandBarRect() const
{
    return QRect(0, height() - kCommandBarHeight, width(), kCommandBarHeight);
}

QRect CDeviceScreen::WorkArea() const
{
    return QRect(0, kTaskBarHeight, width(), height() - kTaskBarHeight - kCommandBarHeight);
}

void CDeviceScreen::SetTopMost(QWidget* child)
{
    m_topMost.removeAll(nullptr);
    m_topMost.removeAll(child);
    m_topMost.append(child);
    RaiseTopMost();
}

void CDeviceScreen::RaiseTopMost()
{
    if (m_raising)
        return;
    m_raising = true;
    m_topMost.removeAll(nullptr);
    for (const QPointer<QWidget>& w : std::as_const(m_topMost))
        w->raise();
    m_raising = false;
}

bool CDeviceScreen::event(QEvent* event)
{
    // A new child lies on top of its siblings: put the top-most ones back
    // over it, and hear about it being raised later.
    if (event->type() == QEvent::ChildAdded) {
        if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
            w->installEventFilter(this);
            RaiseTopMost();
        }
    }
    return QWidget::event(event);
}

bool CDeviceScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ZOrderChange
        && std::none_of(m_topMost.cbegin(), m_topMost.cend(),
                        [watched](const QPointer<QWidget>& w) { return w == watched; }))
        RaiseTopMost();
    return QWidget::eventFilter(watched, event);
}
