#include "shell/main_frame.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/message_box.h"
#include "res/resource.h"
#include "res/resources.h"
#include "shell/command_bar.h"
#include "shell/effect_wnd.h"
#include "shell/file_open_dlg.h"
#include "shell/folder_browser_wnd.h"
#include "shell/image_info_dlg.h"
#include "shell/memo_property_dlg.h"
#include "shell/pane_splitter.h"
#include "shell/save_file_dlg.h"
#include "shell/settings_sheet.h"
#include "shell/tool_images.h"
#include "views/device_screen.h"
#include "views/lumo_view.h"
#include "views/thumbnail_view.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

CMainFrame::CMainFrame(QWidget* screen)
    : QWidget(screen)
{
    setProperty("lumoClass", QStringLiteral("CMainFrame"));
    OnCommand(Res::ID_APP_EXIT, [this] { window()->close(); });
    // The document's dialogs are made here, where the windows live; the
    // document keeps their enable rules.
    OnCommand(Res::ID_IMAGE_INFO, [this] {
        // The facts of a picture still decoding are read once it lands.
        if (auto* doc = dynamic_cast<CLumoDoc*>(m_document))
            doc->FinishCurrent();
        CImageInfoDlg dialog(window());
        dialog.exec();
    });
    OnCommand(Res::ID_MEMO, [this] {
        CMemoPropertyDlg dialog(window());
        dialog.exec();
    });
}

CMainFrame::~CMainFrame()
{
    if (auto* doc = dynamic_cast<CLumoDoc*>(m_document)) {
        doc->SetFrameHooks(nullptr);
        doc->SetSettingsSheet(nullptr);
        doc->SetFileDialogHooks(nullptr);
    }
    // The tool windows go before the views they serve.
    if (m_imageView)
        m_imageView->SetFolderBrowser(nullptr);
    delete m_effectWnd;
    delete m_folderBrowser;
    // The command bar lives in the screen's band but belongs to the frame.
    delete m_commandBar;
    m_commandBar = nullptr;
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setProperty("lumoClass", QStringLiteral("CToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar{border:0;padding:0 2px;spacing:1px;background:#d6d6d6}"
                                            "QToolButton{padding:1px;border:0}"
                                            "QToolButton:pressed{background:#a0a0a0}"));
    for (const CToolButtonDef& def : Resources::BottomToolBarButtons()) {
        if (def.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* a = m_toolBar->addAction(
            ToolImages::Icon(Res::IDB_TOOLBAR_IMAGES, Res::IDB_TOOLBAR_DISABLED, def.image), QString());
        a->setData(def.id);
        const int id = def.id;
        connect(a, &QAction::triggered, this, [id] {
            if (CWinApp* app = CWinApp::Instance())
                app->RouteCommand(id);
        });
    }
}

bool CMainFrame::RunSettingsSheet(CViewPageChoice* choice)
{
    return CSettingsSheet::Run(CDeviceScreen::Instance(), dynamic_cast<CLumoDoc*>(m_document), choice);
}

bool CMainFrame::RunFileOpen(const QString& pattern, QString* path)
{
    return CFileOpenDlg::Run(CDeviceScreen::Instance(), pattern, path);
}

bool CMainFrame::RunSaveFile(const QString& proposed, const QString& filter, const QString& defaultExtension,
                             QString* path)
{
    return CSaveFileDlg::Run(CDeviceScreen::Instance(), proposed, filter, defaultExtension, path);
}

void CMainFrame::ShowFolderBrowser()
{
    m_imageView->ShowFolderBrowser();
}

void CMainFrame::ShowCommandBar(bool show)
{
    if (m_commandBar)
        m_commandBar->setVisible(show);
}

void CMainFrame::ShowSipButton(bool show)
{
    if (m_commandBar)
        m_commandBar->ShowSipButton(show);
}

bool CMainFrame::CreateToolWindows()
{
    CLumoView* view = m_imageView;
    // A sibling of the panes, so that it can lie over either of them.
    m_folderBrowser = new CFolderBrowserWnd(view->parentWidget() ? view->parentWidget() : view, view,
                                            [view](const QString& path, int includeSubfolders) {
                                                if (CLumoDoc* doc = view->GetDocument())
                                                    doc->BrowseFolder(path, includeSubfolders);
                                            });
    view->SetFolderBrowser(m_folderBrowser);
    CLumoDoc* doc = view->GetDocument();
    QWidget* screen = CDeviceScreen::Instance();
    m_effectWnd = CEffectWnd::Create(doc, screen ? screen : window());
    if (!m_effectWnd) {
        ShowMessage(QStringLiteral("Cannot create Folder Browser"));
        return false;
    }
    if (doc)
        doc->m_effectWnd = m_effectWnd;
    m_effectWnd->Hide();
    return true;
}

QString CMainFrame::LoadStringCopy(int id)
{
    return Resources::LoadString(id).left(255);
}

bool CMainFrame::CreateFrame(CDocument* doc)
{
    m_document = doc;
    CDeviceScreen* screen = CDeviceScreen::Instance();
    setGeometry(screen ? screen->WorkArea() : QRect(0, 26, 240, 268));
    CreateToolBar();
    m_splitter = new CPaneSplitter(this);
    m_splitter->SetGap(4);
    // A run that ended in full screen or with the effect window open starts
    // with the strip.
    int mode = Settings::ThumbnailViewMode();
    if (mode == -1 || mode == 2) {
        Settings::SetThumbnailViewMode(1);
        mode = Settings::ThumbnailViewMode();
    }
    m_imageView = new CLumoView(m_splitter);
    m_thumbnailView = new CThumbnailView(m_splitter);
    m_splitter->SetPane(0, m_imageView);
    m_splitter->SetPane(1, m_thumbnailView);
    doc->AddView(m_imageView);
    doc->AddView(m_thumbnailView);
    if (!CreateToolWindows())
        return false;
    const int w = width();
    const int h = height();
    if (mode == 0) {
        m_splitter->SetRowInfo(0, h - kToolBarHeight - 72, 10);
        m_splitter->SetRowInfo(1, 70, 0);
    } else {
        m_splitter->SetRowInfo(0, h - kToolBarHeight - 32, 10);
        m_splitter->SetRowInfo(1, 54, 0);
    }
    m_splitter->setGeometry(0, 0, w, h - kToolBarHeight);
    m_splitter->SetLock(true);
    for (int id : Resources::CommandBarTooltips())
        m_tooltips << LoadStringCopy(id);
    m_commandBar = new CCommandBar(screen ? static_cast<QWidget*>(screen) : this);
    m_commandBar->SetTooltips(m_tooltips);
    if (auto* lumoDoc = dynamic_cast<CLumoDoc*>(doc)) {
        lumoDoc->SetFrameHooks(this);
        lumoDoc->SetSettingsSheet(this);
        lumoDoc->SetFileDialogHooks(this);
    }
    PlaceBars();
    m_imageView->OnInitialUpdate();
    m_thumbnailView->OnInitialUpdate();
    return true;
}

void CMainFrame::ShowFrame()
{
    show();
    if (QWidget* top = window()) {
        top->show();
        top->repaint();
    }
    m_imageView->setFocus();
}

CView* CMainFrame::GetActiveView() const
{
    // The pane holding the keyboard focus, the strip or list inside the
    // thumbnail pane included; the image view otherwise.
    const QWidget* focus = window()->focusWidget();
    if (m_thumbnailView && focus && (focus == m_thumbnailView || m_thumbnailView->isAncestorOf(focus)))
        return m_thumbnailView;
    return m_imageView;
}

QMenu* CMainFrame::MenuPopup(int index) const
{
    return m_commandBar ? m_commandBar->Popup(index) : nullptr;
}

int CMainFrame::FindMenuItem(QMenu* menu, const QString& text)
{
    if (!menu)
        return -1;
    const QList<QAction*> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        const QString label = actions[i]->menu() ? actions[i]->menu()->title() : actions[i]->text();
        if (label.left(256) == text)
            return i;
    }
    return -1;
}

void CMainFrame::PlaceBars()
{
    const int toolBarHeight = m_toolBar->isHidden() ? 0 : kToolBarHeight;
    m_toolBar->setGeometry(0, height() - kToolBarHeight, width(), kToolBarHeight);
    m_splitter->setGeometry(0, 0, width(), height() - toolBarHeight);
    if (CDeviceScreen* screen = CDeviceScreen::Instance())
        m_commandBar->setGeometry(screen->CommandBarRect());
    m_splitter->RecalcLayout();
}

void CMainFrame::ApplyViewMode()
{
    if (!m_splitter)
        return;
    const int h = height();
    switch (Settings::ThumbnailViewMode()) {
    case -1:
        m_splitter->SetRowInfo(0, h - kToolBarHeight - 4, 10);
        m_splitter->SetRowInfo(1, 0, 0);
        m_toolBar->hide();
        m_commandBar->hide();
        break;
    case 0:
        m_splitter->SetGap(4);
        m_splitter->SetRowInfo(0, h - kToolBarHeight - 74, 10);
        m_splitter->SetRowInfo(1, 70, 0);
        m_toolBar->show();
        m_commandBar->show();
        break;
    case 1:
        m_splitter->SetGap(4);
        m_splitter->SetRowInfo(0, h - kToolBarHeight - 34, 10);
        m_splitter->SetRowInfo(1, 30, 0);
        m_toolBar->show();
        m_commandBar->show();
        break;
    case 2:
        m_splitter->SetGap(0);
        // The picture fills the frame, whatever the screen's height.
        m_splitter->SetRowInfo(0, h, 0);
        m_splitter->SetRowInfo(1, 0, 0);
        m_toolBar->hide();
        break;
    default:
        return;
    }
    PlaceBars();
    m_imageView->AdaptCanvas();
}

void CMainFrame::UpdateControls()
{
    CWinApp* app = CWinApp::Instance();
    if (!app)
        return;
    for (QAction* a : m_toolBar->actions()) {
        const int id = a->data().toInt();
        if (id == 0)
            continue;
        const CCmdUI ui = app->QueryCommand(id);
        a->setEnabled(ui.enabled);
    }
    m_commandBar->UpdateButtons();
}

void CMainFrame::resizeEvent(QResizeEvent*)
{
    ApplyViewMode();
}
