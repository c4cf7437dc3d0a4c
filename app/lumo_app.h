// CLumoApp: the application object. InitInstance starts the program: the
// settings key, the splash, the document template, the command line, the
// main window and the first catalog.
#pragma once

#include "app/command_line.h"
#include "platform/win_app.h"

class CDeviceScreen;
class CLumoDoc;
class CMainFrame;

class CLumoApp : public CWinApp {
public:
    explicit CLumoApp(const CLumoOptions& options);
    ~CLumoApp() override;

    bool InitInstance() override;
    // Exit status for a start-up that InitInstance refused.
    int StartFailureStatus() const { return 1; }

    CLumoDoc* Document() const;
    CMainFrame* Frame() const;
    CDeviceScreen* Screen() const { return m_screen; }
    const CLumoOptions& Options() const { return m_options; }

private:
    void OnAppAbout();

    CLumoOptions m_options;
    CDeviceScreen* m_screen = nullptr;
};
