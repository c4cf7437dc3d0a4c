// CSettingsDisplayPage (dialog 160): "Quick View". A click sets the
// document's quick-view flag at once (Cancel does not undo it); OK stores it.
#pragma once

#include "shell/property_sheet.h"

class CLumoDoc;
class QCheckBox;

class CSettingsDisplayPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CSettingsDisplayPage(CLumoDoc* doc);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    CLumoDoc* m_doc;
    int m_quickView = 0;
    QCheckBox* m_box;
};
