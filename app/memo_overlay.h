// Whether the canvas shows a catalog entry's memo, and the overlay when it
// does: only for a picture from an album shown in full screen.
#pragma once

#include "image/memo_layout.h"

class CImageItem;

// The overlay for the entry in the given "ThumbnailView Mode": visible only
// for a picture from an album shown in full screen (mode 2).
CMemoLayout LayoutMemo(const CImageItem& item, int thumbnailViewMode);
// The same with the stored mode (read now, -1 when missing).
CMemoLayout LayoutMemo(const CImageItem& item);
