// CSettingsAssociationPage (dialog 192): which picture types this program
// opens. The boxes start from the registry stand-in and are all written back
// on OK (app/file_association.h); on a desktop the desktop's default
// applications follow them.
#pragma once

#include "app/file_association.h"
#include "shell/property_sheet.h"

class QCheckBox;

class CSettingsAssociationPage : public CPropertyPage {
    Q_OBJECT
public:
    CSettingsAssociationPage();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    FileAssociation::Values m_values {};
    std::array<QCheckBox*, FileAssociation::kTypeCount> m_boxes {};
};
