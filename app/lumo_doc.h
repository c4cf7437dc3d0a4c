// CLumoDoc: the one document of the run. It owns the catalog, keeps the
// values that full screen saves and restores, and handles the commands that
// act on pictures. Views hear about changes only through UpdateAllViews.
#pragma once

#include "app/image_catalog.h"
#include "platform/doc_view.h"

class CEffectWnd;
class CFolderBrowserWnd;

class CLumoDoc : public CDocument {
public:
    CLumoDoc();
    ~CLumoDoc() override;

    bool OnNewDocument() override;

    // A new catalog built from a device path (command line, Open File).
    void OpenPicturePath(const QString& path);
    // Appends the pictures of a device path, keeping the current entry (Add File).
    void AddPicturePath(const QString& path);

    CImageCatalog& Catalog() { return m_catalog; }

    CImageCatalog m_catalog;
    CEffectWnd* m_effectWnd = nullptr;          // not owned; made by the main view
    CFolderBrowserWnd* m_folderBrowser = nullptr;  // not owned; made by the main view
    int m_savedZoom = -1;
    int m_savedRotation = 0;
    int m_savedThumbnailMode = 1;
    int m_autoRotation = 1;
    int m_autoResize = 1;
    int m_autoRotationAngle = 270;
    int m_autoResizeZoom = 0;
    int m_quickView = 1;
};
