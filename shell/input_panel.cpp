#include "shell/input_panel.h"

#include <QApplication>
#include <QEvent>
#include <QInputDevice>
#include <QInputMethod>
#include <QWidget>

namespace InputPanel {

namespace {

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
    const auto report = [method, onChange] {
        onChange(method->isVisible() ? qRound(method->keyboardRectangle().height()) : 0);
    };
    QObject::connect(method, &QInputMethod::keyboardRectangleChanged, context, report);
    QObject::connect(method, &QInputMethod::visibleChanged, context, report);
}

}  // namespace InputPanel
