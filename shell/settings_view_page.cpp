#include "shell/settings_view_page.h"

#include "app/lumo_doc.h"
#include "app/settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct RadioDef {
    int id;
    const char* label;
};

const RadioDef kModeRadios[] = {{1000, "File List"}, {1004, "Image Icon"}, {1005, "None (Full Screen)"}};
const RadioDef kResizeRadios[] = {{1036, "100%"}, {1037, "Fit"}, {1038, "Fill"}};
const RadioDef kAngleRadios[] = {{1032, "0"}, {1033, "90"}, {1034, "180"}, {1035, "270"}};
constexpr int kAutoRotationId = 1029;
constexpr int kAutoResizeId = 1030;

// A radio group in rows of perRow buttons added to column; each button's
// group id is its position (the page value), its name its control id. A
// caption, when given, leads the first row.
template <size_t N>
QButtonGroup* AddRadios(QWidget* parent, QVBoxLayout* column, int perRow, const RadioDef (&defs)[N],
                        const QString& caption = QString())
{
    auto* group = new QButtonGroup(parent);
    QHBoxLayout* row = nullptr;
    for (int i = 0; i < int(N); ++i) {
        if (i % perRow == 0) {
            row = new QHBoxLayout;
            column->addLayout(row);
            if (i == 0 && !caption.isEmpty())
                row->addWidget(new QLabel(caption, parent));
        }
        auto* radio = new QRadioButton(QString::fromLatin1(defs[i].label), parent);
        SetControlId(radio, defs[i].id);
        group->addButton(radio, i);
        row->addWidget(radio);
    }
    return group;
}

QCheckBox* MakeCheck(QWidget* parent, int id, const char* label)
{
    auto* box = new QCheckBox(QString::fromLatin1(label), parent);
    SetControlId(box, id);
    return box;
}

void CheckInGroup(QButtonGroup* group, int index)
{
    // A value outside the group leaves every button of it clear.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == index);
    group->setExclusive(true);
}

void EnableGroup(QButtonGroup* group, bool enable)
{
    for (QAbstractButton* b : group->buttons())
        b->setEnabled(enable);
}

}  // namespace

CSettingsViewPage::CSettingsViewPage(CLumoDoc* doc)
    : CPropertyPage(QStringLiteral("View"))
    , m_doc(doc)
{
    auto* modeBox = new QGroupBox(QStringLiteral("Thumbnail Mode"), this);
    auto* modeColumn = new QVBoxLayout(modeBox);
    modeColumn->setContentsMargins(6, 2, 6, 2);
    m_mode = AddRadios(modeBox, modeColumn, 2, kModeRadios);

    auto* fullBox = new QGroupBox(QStringLiteral("Full Screen"), this);
    auto* column = new QVBoxLayout(fullBox);
    column->setContentsMargins(6, 2, 6, 2);
    column->setSpacing(2);
    m_autoResize = MakeCheck(fullBox, kAutoResizeId, "Auto Resize");
    column->addWidget(m_autoResize);
    m_resize = AddRadios(fullBox, column, 3, kResizeRadios, QStringLiteral("Resize"));
    m_autoRotation = MakeCheck(fullBox, kAutoRotationId, "Auto Rotation");
    column->addWidget(m_autoRotation);
    column->addWidget(new QLabel(QStringLiteral("Rotation Angle"), fullBox));
    m_angle = AddRadios(fullBox, column, 4, kAngleRadios);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(modeBox);
    layout->addWidget(fullBox);
    layout->addStretch(1);

    connect(m_mode, &QButtonGroup::idClicked, this, [this](int mode) {
        m_state.ClickMode(mode, m_doc);
        Show();
    });
    connect(m_autoResize, &QCheckBox::clicked, this, [this] {
        m_state.ClickAutoResize(m_doc);
        Show();
    });
    connect(m_autoRotation, &QCheckBox::clicked, this, [this] {
        m_state.ClickAutoRotation(m_doc);
        Show();
    });
    connect(m_resize, &QButtonGroup::idClicked, this, [this](int choice) { m_state.resizeChoice = choice; });
    connect(m_angle, &QButtonGroup::idClicked, this, [this](int choice) { m_state.angleChoice = choice; });
}

void CSettingsViewPage::OnInitDialog()
{
    m_state.Start(Settings::ThumbnailViewMode(), *m_doc);
    Show();
}

void CSettingsViewPage::Show()
{
    CheckInGroup(m_mode, m_state.mode);
    m_autoResize->setChecked(m_state.autoResize != 0);
    m_autoRotation->setChecked(m_state.autoRotation != 0);
    CheckInGroup(m_resize, m_state.resizeChoice);
    CheckInGroup(m_angle, m_state.angleChoice);
    m_autoResize->setEnabled(m_state.boxesEnabled);
    m_autoRotation->setEnabled(m_state.boxesEnabled);
    EnableGroup(m_resize, m_state.resizeEnabled);
    EnableGroup(m_angle, m_state.angleEnabled);
}

CViewPageChoice CSettingsViewPage::Choice() const
{
    return {m_state.mode, m_state.resizeChoice, m_state.angleChoice};
}
