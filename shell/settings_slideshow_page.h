// CSettingsSlideshowPage (dialog 159): the slideshow's interval and direction
// in two editable boxes. Each box shows its stored value and selects the
// list entry the value begins; OK stores what the boxes hold, typed text
// included (app/settings_pages.h).
#pragma once

#include "shell/property_sheet.h"

class QComboBox;

class CSettingsSlideshowPage : public CPropertyPage {
    Q_OBJECT
public:
    CSettingsSlideshowPage();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    QComboBox* m_interval;
    QComboBox* m_direction;
};
