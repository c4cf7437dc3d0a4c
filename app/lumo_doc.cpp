#include "app/lumo_doc.h"

#include "app/album_file.h"
#include "app/settings.h"
#include "app/view_hooks.h"
#include "res/resource.h"

CLumoDoc::CLumoDoc()
{
    m_quickView = Settings::QuickView() ? 1 : 0;
    m_catalog.SetNotifier([this](int hint) { UpdateAllViews(nullptr, hint); });
    m_pictureJobs.SetOnDecoded([this](CImageItem* item) {
        if (CImageViewHooks* view = ImageView())
            view->PictureDecoded(item);
    });
    // The document is never saved through the framework: Save writes nothing.
    OnCommand(Res::ID_FILE_SAVE, [] {});
    RegisterFileCommands();
}

CLumoDoc::~CLumoDoc()
{
    // A build still running would notify a document that is going away.
    m_loader.StopThread();
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
    // A folder build still running on the loader would go on filling the new catalog.
    m_loader.StopThread();
    m_catalog.RemoveAll();
    // The views learn at once that the old entries are gone: a message box
    // raised by the build (a bad archive, a picture that cannot be read)
    // lets them repaint before the build ends.
    m_catalog.Notify(CImageCatalog::kHintCurrentChanged);
    m_catalog.Notify(CImageCatalog::kHintListChanged);
    m_catalog.SetSourcePath(path);
    const int mode = Settings::ThumbnailViewMode();
    m_catalog.BuildList(path, 0, mode);
}

int CLumoDoc::SaveAsAlbum(const QString& path)
{
    AlbumFile::EnsureDefaultFolder();
    return m_catalog.SaveAlbum(path);
}

void CLumoDoc::AddPicturePath(const QString& path)
{
    // The added entries follow those of a running build, whose hints the views
    // hear first.
    m_loader.WaitThread();
    DeliverQueuedUpdates();
    m_catalog.SetSourcePath(path);
    const int mode = Settings::ThumbnailViewMode();
    m_catalog.BuildList(path, 0, mode);
}

// --- Loader thread ---
int CLumoDoc::BrowseFolder(const QString& folder, int includeSubfolders)
{
    m_loader.StopThread();
    return m_loader.StartLoad(folder, includeSubfolders, Settings::ThumbnailViewMode());
}
// --- end of loader thread ---
