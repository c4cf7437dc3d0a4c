// CMainFrame: the main window inside the device screen. It holds the split
// window (image view above, thumbnail view below), the bottom tool bar and
// the command bar, and arranges them from the stored "ThumbnailView Mode".
#pragma once

#include "app/file_dialog_hooks.h"
#include "app/view_hooks.h"
#include "platform/win_app.h"
#include "views/full_screen_hooks.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <vector>

class CCommandBar;
class CEffectWnd;
class CFolderBrowserWnd;
class CLumoView;
class CPaneSplitter;
class CThumbnailView;
class QMenu;
class QToolBar;

class CMainFrame : public QWidget,
                   public CFrameWnd,
                   public CFrameHooks,
                   public CSettingsSheetHooks,
                   public CFileDialogHooks,
                   public CFullScreenFrameHooks {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 24;

    explicit CMainFrame(QWidget* screen);
    ~CMainFrame() override;

    bool CreateFrame(CDocument* doc) override;
    void ShowFrame() override;
    CView* GetActiveView() const override;

    // Resizes the rows and shows or hides the bars by the stored mode, then
    // fits the image view's canvas to its new size.
    void ApplyViewMode() override;
    // Runs the settings sheet over the device screen (the Settings command).
    bool RunSettingsSheet(CViewPageChoice* choice) override;
    // The file commands' dialogs over the device screen, and the folder browser.
    bool RunFileOpen(const QString& pattern, QString* path) override;
    bool RunSaveFile(const QString& proposed, const QString& filter, const QString& defaultExtension,
                     QString* path) override;
    void ShowFolderBrowser() override;
    // CFullScreenFrameHooks: what the image view's full screen moves.
    void RaiseFrame() override { raise(); }
    void SetFrameRect(const QRect& rect) override { setGeometry(rect); }
    void ShowCommandBar(bool show) override;
    void ShowSipButton(bool show) override;
    // Position of the item of menu whose label equals text (case counts), or -1.
    static int FindMenuItem(QMenu* menu, const QString& text);
    // The string-table entry id, at most 255 characters of it.
    static QString LoadStringCopy(int id);
    // The command bar's tooltips, made when the window is created.
    const QStringList& Tooltips() const { return m_tooltips; }
    // The pop-up "File", "View" or "Tools" of menu 128, by position.
    QMenu* MenuPopup(int index) const;

    CPaneSplitter* Splitter() const { return m_splitter; }
    QToolBar* BottomToolBar() const { return m_toolBar; }
    CCommandBar* CommandBar() const { return m_commandBar; }
    CLumoView* ImageView() const { return m_imageView; }
    CThumbnailView* ThumbnailView() const { return m_thumbnailView; }
    // Runs update handlers of the tool buttons (called when the program idles).
    void UpdateControls();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateToolBar();
    // The folder browser and the effect window, hidden; false after a
    // message when one cannot be made.
    bool CreateToolWindows();
    void PlaceBars();

    CPaneSplitter* m_splitter = nullptr;
    QToolBar* m_toolBar = nullptr;
    CCommandBar* m_commandBar = nullptr;
    CLumoView* m_imageView = nullptr;
    CThumbnailView* m_thumbnailView = nullptr;
    // The tool windows the document keeps, made hidden with the views: the
    // folder browser beside the panes, the effect window over the device
    // screen. Both belong to the frame.
    QPointer<CFolderBrowserWnd> m_folderBrowser;
    QPointer<CEffectWnd> m_effectWnd;
    QStringList m_tooltips;
};
