// CSettingsViewPage (dialog 131): the thumbnail mode and the full-screen
// options. Its rules live in CViewPageState (app/settings_pages.h); the page
// shows that state and turns clicks into it. It stores nothing on OK: the
// Settings command applies its choices.
#pragma once

#include "app/settings_pages.h"
#include "app/view_hooks.h"
#include "shell/property_sheet.h"

class CLumoDoc;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;

class CSettingsViewPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CSettingsViewPage(CLumoDoc* doc);
    CViewPageChoice Choice() const;

protected:
    void OnInitDialog() override;

private:
    void Show();

    CLumoDoc* m_doc;
    CViewPageState m_state;
    QButtonGroup* m_mode;
    QButtonGroup* m_resize;
    QButtonGroup* m_angle;
    QCheckBox* m_autoResize;
    QCheckBox* m_autoRotation;
};
