// CSettingsSheet: the "Settings" property sheet with its pages View,
// Slideshow, Display and File Association, in that order. The Settings
// command runs it (Run) and applies the View page's choices after OK.
#pragma once

#include "app/view_hooks.h"
#include "shell/property_sheet.h"

class CLumoDoc;
class CSettingsViewPage;

class CSettingsSheet : public CPropertySheet {
    Q_OBJECT
public:
    CSettingsSheet(QWidget* screen, CLumoDoc* doc);
    CViewPageChoice ViewChoice() const;

    // Runs a sheet modally over screen; true after OK, with the View page's choices.
    static bool Run(QWidget* screen, CLumoDoc* doc, CViewPageChoice* choice);

private:
    CSettingsViewPage* m_viewPage;
};
