#include "shell/property_sheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertyPage::CPropertyPage(const QString& caption)
    : m_caption(caption)
{
}

CPropertySheet::CPropertySheet(QWidget* screen, const QString& className, const QString& caption)
    : CDeviceDialog(screen, className, caption)
    , m_tabs(new QTabWidget(this))
{
    // The handheld's dialog font is small; four pages of controls fit 240 pixels.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    SetControlId(m_tabs, DialogId::kPropertyTabs);
    // As on a handheld: the tabs sit under the page, where the pen reaches them.
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    // Every tab stays in reach: narrow tabs, a long caption shortened.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideRight);
    m_tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab{padding:3px 2px}"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (isVisible())
            StartPage(index);
    });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok, DialogId::kOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    SetControlId(cancel, DialogId::kCancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 4);
    layout->setSpacing(4);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    m_tabs->addTab(page, page->Caption());
}

void CPropertySheet::showEvent(QShowEvent* event)
{
    CDeviceDialog::showEvent(event);
    StartPage(m_tabs->currentIndex());
}

void CPropertySheet::StartPage(int index)
{
    if (index < 0 || size_t(index) >= m_pages.size() || m_pages[size_t(index)]->m_started)
        return;
    m_pages[size_t(index)]->m_started = true;
    m_pages[size_t(index)]->OnInitDialog();
}

void CPropertySheet::accept()
{
    for (CPropertyPage* page : m_pages)
        if (page->m_started)
            page->OnOK();
    CDeviceDialog::accept();
}
