#include "shell/settings_display_page.h"

#include "app/lumo_doc.h"
#include "app/settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CSettingsDisplayPage::CSettingsDisplayPage(CLumoDoc* doc)
    : CPropertyPage(QStringLiteral("Display"))
    , m_doc(doc)
{
    auto* group = new QGroupBox(QStringLiteral("Display Option"), this);
    m_box = new QCheckBox(QStringLiteral("Quick View"), group);
    SetControlId(m_box, 1040);
    auto* text = new QLabel(QStringLiteral("Quick View Mode is for displaying images quickly. If you do not have "
                                           "enough memory spaces, do not check."),
                            group);
    text->setWordWrap(true);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(m_box);
    inner->addWidget(text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);
    layout->addStretch(1);
    connect(m_box, &QCheckBox::clicked, this, [this] {
        m_quickView = m_quickView ? 0 : 1;
        m_doc->m_quickView = m_quickView;
        m_box->setChecked(m_quickView != 0);
    });
}

void CSettingsDisplayPage::OnInitDialog()
{
    m_quickView = Settings::QuickView();
    m_box->setChecked(m_quickView != 0);
}

void CSettingsDisplayPage::OnOK()
{
    Settings::SetQuickView(m_quickView);
}
