#include "shell/device_dialog.h"

#include "app/lumo_doc.h"
#include "platform/win_app.h"
#include "views/device_screen.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

namespace {

const char* const kShownAt = "lumoShownAt";

// Stamps its window with a rising number each time it is shown, so that the
// stacking order of the open windows can be told without the windowing system.
class ShowStamp : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        static int shown = 0;
        if (event->type() == QEvent::Show && watched == parent())
            watched->setProperty(kShownAt, ++shown);
        return false;
    }
};

QList<QPointer<QWidget>>& MarkedWindows()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

}  // namespace

CDeviceDialog::CDeviceDialog(QWidget* screen, const QString& className, const QString& caption)
    : QDialog(screen)
{
    setProperty("lumoClass", className);
    MarkToolWindow(this);
    setWindowTitle(caption);
    // Modal to the device screen only: the on-screen keyboard, a window of
    // its own, must still take taps while a dialog runs.
    setWindowModality(Qt::WindowModal);
    // Sized for the screen, never grown past it by a wide control.
    const QRect area = DialogArea(screen);
    if (!area.isEmpty()) {
        setGeometry(area);
        setFixedSize(area.size());
    }
}

QRect CDeviceDialog::DialogArea(QWidget* screen)
{
    auto* s = qobject_cast<CDeviceScreen*>(screen);
    if (!s)
        return {};
    return QRect(s->mapToGlobal(QPoint(0, CDeviceScreen::kTaskBarHeight)),
                 QSize(s->width(), s->height() - CDeviceScreen::kTaskBarHeight));
}

CLumoDoc* CDeviceDialog::ActiveDocument()
{
    CWinApp* app = CWinApp::Instance();
    CFrameWnd* frame = app ? app->MainWnd() : nullptr;
    return frame ? dynamic_cast<CLumoDoc*>(frame->GetActiveDocument()) : nullptr;
}

CImageItem* CDeviceDialog::ActiveEntry()
{
    CLumoDoc* doc = ActiveDocument();
    return doc ? doc->Catalog().GetCurrent() : nullptr;
}

QWidget* CDeviceDialog::MakeTitleLine()
{
    auto* line = new QWidget(this);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(windowTitle(), line);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->setStyleSheet(QStringLiteral("color:#00287a"));
    row->addWidget(caption, 1);
    auto* ok = new QPushButton(QStringLiteral("ok"), line);
    SetControlId(ok, DialogId::kOk);
    ok->setFixedSize(40, 20);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(ok);
    return line;
}

void CDeviceDialog::showEvent(QShowEvent* event)
{
    if (auto* s = qobject_cast<CDeviceScreen*>(parentWidget()); s && !m_titleShown) {
        m_savedTitle = s->TaskBar()->Title();
        s->TaskBar()->SetTitle(windowTitle());
        m_titleShown = true;
    }
    QDialog::showEvent(event);
}

void CDeviceDialog::hideEvent(QHideEvent* event)
{
    if (auto* s = qobject_cast<CDeviceScreen*>(parentWidget()); s && m_titleShown) {
        s->TaskBar()->SetTitle(m_savedTitle);
        m_titleShown = false;
    }
    QDialog::hideEvent(event);
}

void SetControlId(QWidget* control, int id)
{
    control->setObjectName(QString::number(id));
}

int ControlId(const QWidget* control)
{
    bool ok = false;
    const int id = control->objectName().toInt(&ok);
    return ok ? id : DialogId::kStatic;
}

void MarkToolWindow(QWidget* window)
{
    if (IsToolWindow(window))
        return;
    window->setProperty("lumoDialog", true);
    window->installEventFilter(new ShowStamp(window));
    MarkedWindows().append(window);
}

bool IsToolWindow(const QWidget* widget)
{
    return widget->property("lumoDialog").toBool();
}

int ShowOrder(const QWidget* window)
{
    return window->property(kShownAt).toInt();
}

QList<QWidget*> OpenToolWindows()
{
    QList<QPointer<QWidget>>& marked = MarkedWindows();
    marked.removeAll(nullptr);
    QList<QWidget*> open;
    for (QWidget* w : marked)
        if (w->isVisible())
            open.append(w);
    std::stable_sort(open.begin(), open.end(), [](const QWidget* a, const QWidget* b) {
        if (a->isWindow() != b->isWindow())
            return !a->isWindow();
        return ShowOrder(a) < ShowOrder(b);
    });
    return open;
}
