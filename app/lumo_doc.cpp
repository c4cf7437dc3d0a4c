#include "app/lumo_doc.h"

#include "app/settings.h"
#include "res/resource.h"

CLumoDoc::CLumoDoc()
{
    m_quickView = Settings::QuickView() ? 1 : 0;
    m_catalog.SetNotifier([this](int hint) { UpdateAllViews(nullptr, hint); });
    // The document is never saved through the framework: Save writes nothing.
    OnCommand(Res::ID_FILE_SAVE, [] {});
}

CLumoDoc::~CLumoDoc()
{
    m_catalog.SetNotifier(nullptr);
}

bool CLumoDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_autoRotation = 1;
    m_autoResize = 1;
    m_autoRotationAngle = 270;
    m_autoResizeZoom = 0;
    return true;
}

void CLumoDoc::OpenPicturePath(const QString& path)
{
    m_catalog.RemoveAll();
    m_catalog.SetSourcePath(path);
    const int mode = Settings::ThumbnailViewMode();
    m_catalog.BuildList(path, 0, mode);
}

void CLumoDoc::AddPicturePath(const QString& path)
{
    m_catalog.SetSourcePath(path);
    const int mode = Settings::ThumbnailViewMode();
    m_catalog.BuildList(path, 0, mode);
}
