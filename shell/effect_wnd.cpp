#include "shell/effect_wnd.h"

#include "app/lumo_doc.h"
#include "shell/device_dialog.h"
#include "views/device_screen.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// The closed chooser's height; its rectangle includes the drop-down list.
constexpr int kChooserHeight = 20;
constexpr int kBorder = 1;

}  // namespace

CEffectSlider::CEffectSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    // Actions are the user's moves (pen drag, a tap on the groove, keys); the
    // position they lead to is reported before the value follows it.
    connect(this, &QAbstractSlider::sliderPressed, this, [this] { Q_EMIT PositionReported(sliderPosition()); });
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { Q_EMIT PositionReported(sliderPosition()); });
}

CEffectWnd::CEffectWnd(CLumoDoc* doc, QWidget* screen)
    : QWidget(screen)
    , CEffectEditor(doc)
    , m_doc(doc)
{
    setProperty("lumoClass", QStringLiteral("CEffectWnd"));
    MarkToolWindow(this);
    SetControlId(this, kWindowId);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    const CEffectPlacement at = Placement(screen->width(), screen->height());
    setGeometry(at.left, at.top, at.right - at.left, at.bottom - at.top);
}

CEffectWnd* CEffectWnd::Create(CLumoDoc* doc, QWidget* screen)
{
    if (!screen)
        return nullptr;
    auto* wnd = new CEffectWnd(doc, screen);
    if (!wnd->OnCreate()) {
        delete wnd;
        return nullptr;
    }
    if (auto* device = qobject_cast<CDeviceScreen*>(screen))
        device->SetTopMost(wnd);
    return wnd;
}

CEffectWnd::~CEffectWnd()
{
    OnDestroy();
    if (m_doc && m_doc->m_effectWnd == this)
        m_doc->m_effectWnd = nullptr;
}

QWidget* CEffectWnd::MakeControl(const CEffectControlDef& def)
{
    QWidget* control = nullptr;
    switch (def.id) {
    case kChooserId:
        m_chooser = new QComboBox(this);
        m_chooser->addItems({ChooserText(0), ChooserText(1)});
        m_chooser->setCurrentIndex(0);
        connect(m_chooser, &QComboBox::currentIndexChanged, this, [this](int index) { OnChooserChanged(index); });
        control = m_chooser;
        break;
    case kSliderId:
        m_slider = new CEffectSlider(this);
        m_slider->setRange(kMinValue, kMaxValue);
        m_slider->setValue(kInitialPosition);
        connect(m_slider, &CEffectSlider::PositionReported, this, [this](int position) { OnSliderMoved(position); });
        control = m_slider;
        break;
    case kValueId:
        m_value = new QLabel(QString::fromLatin1(kInitialValueText), this);
        m_value->setAlignment(Qt::AlignCenter);
        control = m_value;
        break;
    default: {
        const QString text = def.id == kDefaultId ? QStringLiteral("Default")
                             : def.id == kOkId    ? QStringLiteral("OK")
                                                  : QStringLiteral("Cancel");
        auto* button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, [this, id = def.id] {
            if (id == kDefaultId)
                OnDefault();
            else if (id == kOkId)
                OnOk();
            else
                OnCancel();
        });
        control = button;
    }
    }
    const int height = def.id == kChooserId ? kChooserHeight : def.bottom - def.top;
    control->setGeometry(def.left + kBorder, def.top + kBorder, def.right - def.left, height);
    SetControlId(control, def.id);
    return control;
}

bool CEffectWnd::OnCreate()
{
    return CreateControls([this](const CEffectControlDef& def) { return MakeControl(def) != nullptr; });
}

void CEffectWnd::SelectChooser(int index)
{
    // The program's own choice is not a change the user made.
    const QSignalBlocker quiet(m_chooser);
    m_chooser->setCurrentIndex(index);
}

void CEffectWnd::SetSliderPosition(int position)
{
    m_slider->setValue(position);
}

void CEffectWnd::SetValueText(const QString& text)
{
    m_value->setText(text);
}

void CEffectWnd::ShowWindow(bool show)
{
    setVisible(show);
}

void CEffectWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
