#include "shell/settings_sheet.h"

#include "shell/settings_association_page.h"
#include "shell/settings_display_page.h"
#include "shell/settings_slideshow_page.h"
#include "shell/settings_view_page.h"

CSettingsSheet::CSettingsSheet(QWidget* screen, CLumoDoc* doc)
    : CPropertySheet(screen, QStringLiteral("CSettingsSheet"), QStringLiteral("Settings"))
    , m_viewPage(new CSettingsViewPage(doc))
{
    AddPage(m_viewPage);
    AddPage(new CSettingsSlideshowPage);
    AddPage(new CSettingsDisplayPage(doc));
    AddPage(new CSettingsAssociationPage);
}

CViewPageChoice CSettingsSheet::ViewChoice() const
{
    return m_viewPage->Choice();
}

bool CSettingsSheet::Run(QWidget* screen, CLumoDoc* doc, CViewPageChoice* choice)
{
    CSettingsSheet sheet(screen, doc);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    *choice = sheet.ViewChoice();
    return true;
}
