// CLumoDoc: the one document of the run. It owns the catalog, keeps the
// full-screen values (auto zoom and rotation, the mode to return to), and
// handles the commands that act on pictures. Views hear about changes only through UpdateAllViews.
#pragma once

#include "app/image_catalog.h"
#include "app/loader_thread.h"
#include "app/menu_checks.h"
#include "app/picture_jobs.h"
#include "platform/doc_view.h"

class CEffectEditor;
class CFileDialogHooks;
class CFrameHooks;
class CImageViewHooks;
class CSettingsSheetHooks;
struct CViewPageChoice;

class CLumoDoc : public CDocument {
public:
    CLumoDoc();
    ~CLumoDoc() override;

    bool OnNewDocument() override;

    // A new catalog built from a device path (command line, Open File).
    void OpenPicturePath(const QString& path);
    // Appends the pictures of a device path, keeping the current entry (Add File).
    void AddPicturePath(const QString& path);
    // Save As Album once its dialog chose a device path: makes the albums
    // folder when missing, then writes every entry (1 on success).
    int SaveAsAlbum(const QString& path);

    // --- File commands (file_commands.cpp) ---
    // Open File, Add File, Browser Folder, Save As and Save As Album run their
    // dialogs through hooks the user interface sets; without them they do nothing.
    void SetFileDialogHooks(CFileDialogHooks* hooks) { m_fileDialogs = hooks; }
    // Save As once its dialog chose a device path: writes the current
    // picture as BMP or JPEG by the name's ending. A name with another
    // ending, or a write that fails, writes nothing and tells the user why.
    int SaveCurrentPictureAs(const QString& path);
    // Waits until the current entry's picture is decoded (or failed), so its
    // facts are known: its size is read from the file in list mode only then.
    CImageItem* FinishCurrent();
    // --- end of file commands ---

    CImageCatalog& Catalog() { return m_catalog; }

    CImageCatalog m_catalog;
    // Decodes the pictures the main view shows; stopped before the catalog goes.
    CPictureJobs& PictureJobs() { return m_pictureJobs; }
    CPictureJobs m_pictureJobs {m_catalog, 2};
    CEffectEditor* m_effectWnd = nullptr;  // not owned; made by the main frame
    int m_savedThumbnailMode = 1;
    int m_autoRotation = 1;
    int m_autoResize = 1;
    int m_autoRotationAngle = 270;
    int m_autoResizeZoom = 0;
    int m_quickView = 1;

    // --- Loader thread (loader_thread.cpp) ---
    // What the folder browser's OK does: stops a running build, then builds the
    // catalog of folder on the loader thread in the stored thumbnail mode.
    int BrowseFolder(const QString& folder, int includeSubfolders);
    // Declared after the catalog, so it is stopped before the catalog goes.
    CLoaderThread m_loader {&m_catalog, this};
    // --- end of loader thread ---

    // --- View-state commands (view_commands.cpp) ---
    // Check marks of menu 128 (radio groups of "Rotate" and "Zoom", "Slide Show").
    CMenuChecks& MenuChecks() { return m_menuChecks; }
    // The main view as the commands drive it: the first view; null without one.
    CImageViewHooks* ImageView() const;
    void SetFrameHooks(CFrameHooks* frame) { m_frameHooks = frame; }
    // Full screen as the "Full Screen" command and the main view's double tap
    // enter and leave it: the stored mode, the pane layout, the current
    // entry's zoom and rotation (lent by full screen; leaving gives every
    // entry it changed its own values back) and the view's full-screen switch. Both do nothing without a current entry
    // (entering) or when the view is already in the wanted state.
    void EnterFullScreen();
    void LeaveFullScreen();
    // Lends item the full-screen zoom code, and the auto-rotation angle when
    // it is a large landscape picture, until full screen ends.
    void ApplyFullScreenViewState(CImageItem* item);
    // Full screen ended: every entry it lent a view state gets its own back.
    void ReturnFullScreenViewState();
    // A current entry and no folder browser in front: the common enable rule.
    bool CanActOnPicture() const;
    // Repaints the main view without erasing; re-lays out the frame's panes
    // from the stored mode (both do nothing without the window).
    void InvalidatePicture();
    void ApplyViewMode();

private:
    void RegisterViewCommands();
    void RotateTo(int degrees);
    void RotateStep(int step);
    void ZoomTo(int zoom, int id);
    void ZoomStep(int delta);
    void AllTo(int zoom);
    // "Brightness" and "Contrast": the effect window in that mode.
    void OpenEffect(int mode);
    // Registers the handlers when the document is made.
    struct ViewCommandTable {
        explicit ViewCommandTable(CLumoDoc* doc) { doc->RegisterViewCommands(); }
    };
    CMenuChecks m_menuChecks;
    CFrameHooks* m_frameHooks = nullptr;
    CFileDialogHooks* m_fileDialogs = nullptr;
    void RegisterFileCommands();
    ViewCommandTable m_viewCommandTable {this};
    // --- end of view-state commands ---

    // --- Settings command (settings_command.cpp) ---
public:
    void SetSettingsSheet(CSettingsSheetHooks* sheet) { m_settingsSheet = sheet; }
    // What OK of the sheet leads to: nothing when the mode stays; else the
    // new mode is stored and laid out, full screen is left or entered, the
    // catalog is rebuilt on the loader thread when its pictures now need
    // thumbnails, and full screen takes the Resize and Rotation Angle choices.
    void ApplySettings(const CViewPageChoice& choice);

private:
    void RegisterSettingsCommand();
    void RebuildOrRefresh();
    CSettingsSheetHooks* m_settingsSheet = nullptr;
    struct SettingsCommandTable {
        explicit SettingsCommandTable(CLumoDoc* doc) { doc->RegisterSettingsCommand(); }
    };
    SettingsCommandTable m_settingsCommandTable {this};
    // --- end of Settings command ---
};
