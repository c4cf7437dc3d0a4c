#include "shell/settings_association_page.h"

#include "app/desktop_defaults.h"
#include "res/file_types.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kFirstBoxId = 1051;  // "bmp files"; gif, jpeg and png follow

}  // namespace

CSettingsAssociationPage::CSettingsAssociationPage()
    : CPropertyPage(QStringLiteral("File Association"))
{
    auto* group = new QGroupBox(QStringLiteral("File Association"), this);
    auto* inner = new QVBoxLayout(group);
    auto* text = new QLabel(QStringLiteral("Lumo is a default viewer of checked file type."), group);
    text->setWordWrap(true);
    inner->addWidget(text);
    for (int type = 0; type < FileAssociation::kTypeCount; ++type) {
        const QString name = QString::fromLatin1(FileTypes::Pictures()[size_t(type)].name);
        QCheckBox* box = m_boxes[size_t(type)] = new QCheckBox(name + QStringLiteral(" files"), group);
        SetControlId(box, kFirstBoxId + type);
        inner->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, type, box] {
            int& value = m_values[size_t(type)];
            value = value ? 0 : 1;
            box->setChecked(value != 0);
        });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);
    layout->addStretch(1);
}

void CSettingsAssociationPage::OnInitDialog()
{
    m_values = FileAssociation::Read();
    for (int type = 0; type < FileAssociation::kTypeCount; ++type)
        m_boxes[size_t(type)]->setChecked(m_values[size_t(type)] != 0);
}

void CSettingsAssociationPage::OnOK()
{
    FileAssociation::Write(m_values, DesktopDefaults::IsDesktop());
}
