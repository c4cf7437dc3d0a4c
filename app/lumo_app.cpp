#include "app/lumo_app.h"

#include "app/lumo_doc.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/resource.h"
#include "res/resources.h"
#include "shell/about_box.h"
#include "shell/main_frame.h"
#include "views/device_screen.h"
#include "views/splash_wnd.h"

#include <QDir>
#include <QShortcut>

CLumoApp::CLumoApp(const CLumoOptions& options)
    : m_options(options)
{
    OnCommand(Res::ID_APP_ABOUT, [this] { OnAppAbout(); });
    // "New" goes to the framework: the document starts anew, the catalog stays.
    OnCommand(Res::ID_FILE_NEW, [this] {
        if (CLumoDoc* doc = Document())
            doc->OnNewDocument();
    });
}

CLumoApp::~CLumoApp()
{
    if (m_template)
        m_template->CloseAll();
    delete m_screen;
}

CLumoDoc* CLumoApp::Document() const
{
    return m_template ? static_cast<CLumoDoc*>(m_template->Document()) : nullptr;
}

CMainFrame* CLumoApp::Frame() const
{
    return m_template ? static_cast<CMainFrame*>(m_template->Frame()) : nullptr;
}

bool CLumoApp::InitInstance()
{
    SetRegistryKey(QStringLiteral("FARHAVEN"));

    m_screen = new CDeviceScreen(m_options.screenWidth, m_options.screenHeight);
    m_screen->TaskBar()->SetFixedClock(m_options.clock);
    CSplashWnd::ShowSplash(m_screen, Res::IDB_SPLASH, 1000, m_options.script.isEmpty() || m_options.splash);

    CDeviceScreen* screen = m_screen;
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        Res::IDR_MAINFRAME, [] { return std::make_unique<CLumoDoc>(); },
        [screen] { return std::make_unique<CMainFrame>(screen); }));

    // The whole raw command line is one path; the framework's open step must
    // be able to read it (a folder passes, the catalog is built from folders too).
    const QString raw = m_options.rawPath;
    QString devicePath;
    QString hostPath;
    if (!raw.isEmpty()) {
        if (!DevicePath::FromHost(raw, &devicePath)) {
            ShowMessage(QStringLiteral("%1\nThis path lies outside the device's file system.").arg(raw));
            return false;
        }
        hostPath = DevicePath::ToHost(devicePath);
    }
    if (!DocTemplate()->OpenDocumentFile(raw.isEmpty() ? nullptr : &hostPath)) {
        if (!raw.isEmpty())
            ShowMessage(QStringLiteral("Cannot open %1.\nThe file does not exist or cannot be read.").arg(raw));
        return false;
    }
    m_screen->TaskBar()->SetTitle(DocTemplate()->DocString(0));
    for (const CAccelDef& accel : Resources::Accelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(accel.key)), m_screen);
        const int id = accel.id;
        QObject::connect(shortcut, &QShortcut::activated, m_screen, [this, id] { RouteCommand(id); });
    }
    Frame()->ShowFrame();

    if (!raw.isEmpty())
        Document()->OpenPicturePath(devicePath);
    return true;
}

void CLumoApp::OnAppAbout()
{
    CAboutBox box(m_screen);
    box.exec();
}
