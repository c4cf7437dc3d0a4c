#include "shell/input_panel.h"

#include <QApplication>
#include <QEvent>
#include <QInputDevice>
#include <QInputMethod>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>

namespace InputPanel {

namespace {

// The input-panel button's picture: a small keyboard.
QIcon KeyboardIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 4, 13, 8);
    for (int y = 6; y <= 8; y += 2)
        for (int x = 3; x <= 11; x += 2)
            p.drawPoint(x, y);
    p.drawLine(4, 10, 10, 10);
    return QIcon(pixmap);
}

bool g_shown = false;

// Shows the panel while its edit has the focus.
class FocusFollower : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && !DeviceHasKeyboard())
            SipShowIM(true);
        else if (event->type() == QEvent::FocusOut)
            SipShowIM(false);
        return false;
    }
};

}  // namespace

void SelectInputMethod(bool offscreen)
{
    if (offscreen) {
        qunsetenv("QT_IM_MODULE");
        return;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool deviceScreen = platform.startsWith("linuxfb") || platform.startsWith("eglfs");
    if (deviceScreen && qEnvironmentVariableIsEmpty("QT_IM_MODULE"))
        qputenv("QT_IM_MODULE", "qtvirtualkeyboard");
}

void Install()
{
    qApp->setAutoSipEnabled(false);
}

void SipShowIM(bool on)
{
    g_shown = on;
    if (on)
        QGuiApplication::inputMethod()->show();
    else
        QGuiApplication::inputMethod()->hide();
}

bool IsShown()
{
    return g_shown;
}

void Toggle()
{
    SipShowIM(!g_shown);
}

QToolButton* MakeButton(QWidget* parent, QWidget* edit)
{
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setProperty("lumoClass", QStringLiteral("CSipButton"));
    b->setIcon(KeyboardIcon());
    b->setIconSize(QSize(16, 16));
    QObject::connect(b, &QToolButton::clicked, b, [edit] {
        const bool show = !IsShown();
        SipShowIM(show);
        if (show && edit)
            edit->setFocus(Qt::OtherFocusReason);
    });
    return b;
}

bool DeviceHasKeyboard()
{
    for (const QInputDevice* device : QInputDevice::devices())
        if (device->type() == QInputDevice::DeviceType::Keyboard)
            return true;
    return false;
}

void FollowFocus(QWidget* edit)
{
    edit->installEventFilter(new FocusFollower(edit));
}

void OnHeightChanged(QObject* context, std::function<void(int)> onChange)
{
    QInputMethod* method = QGuiApplication::inputMethod();
    const auto report
        = [method, onChange] { onChange(method->isVisible() ? qRound(method->keyboardRectangle().height()) : 0); };
    QObject::connect(method, &QInputMethod::keyboardRectangleChanged, context, report);
    QObject::connect(method, &QInputMethod::visibleChanged, context, report);
}

}  // namespace InputPanel
