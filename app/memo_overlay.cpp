#include "app/memo_overlay.h"

#include "app/image_catalog.h"
#include "app/image_item.h"
#include "app/settings.h"

CMemoLayout LayoutMemo(const CImageItem& item, int thumbnailViewMode)
{
    // An archive member read from an album keeps the archive as its source.
    const QString& album = item.m_album.isEmpty() ? item.m_source : item.m_album;
    return LayoutMemo(item.m_memo, thumbnailViewMode == Settings::kModeFullScreen
                                       && CImageCatalog::ClassifyPath(album) == CImageCatalog::kPathAlbum);
}

CMemoLayout LayoutMemo(const CImageItem& item)
{
    return LayoutMemo(item, Settings::ThumbnailViewMode(-1));
}
