#include "shell/settings_slideshow_page.h"

#include "app/settings.h"
#include "app/settings_pages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QComboBox* MakeBox(QWidget* parent, int id, const QStringList& entries)
{
    auto* box = new QComboBox(parent);
    SetControlId(box, id);
    box->setEditable(true);
    box->addItems(entries);
    // Typed text is taken as it stands: no completion from the list, never
    // added to it, and no longer than the page reads.
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(SettingsPages::kTextLimit);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

void ShowStored(QComboBox* box, const QString& stored)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    const SettingsPages::ComboStart start = SettingsPages::StartCombo(entries, stored);
    box->setCurrentIndex(start.selected);
    box->setEditText(start.text);
}

}  // namespace

CSettingsSlideshowPage::CSettingsSlideshowPage()
    : CPropertyPage(QStringLiteral("Slideshow"))
{
    m_interval = MakeBox(this, 1037, SettingsPages::IntervalEntries());
    m_direction = MakeBox(this, 1041, SettingsPages::DirectionEntries());
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 8, 6, 6);
    grid->addWidget(new QLabel(QStringLiteral("Interval :"), this), 0, 0);
    grid->addWidget(m_interval, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sec"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Direction : "), this), 1, 0);
    grid->addWidget(m_direction, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}

void CSettingsSlideshowPage::OnInitDialog()
{
    ShowStored(m_interval, QString::number(Settings::SlideshowInterval()));
    ShowStored(m_direction, Settings::SlideshowDirection());
}

void CSettingsSlideshowPage::OnOK()
{
    Settings::SetSlideshowInterval(SettingsPages::IntervalOfText(m_interval->currentText()));
    Settings::SetSlideshowDirection(m_direction->currentText());
}
