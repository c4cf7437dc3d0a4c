// CDibBitmap: holder of one 24-bit, bottom-up DIB section, and the helpers
// that fill one from packed RGB rows.
#pragma once

#include "image/gdi.h"

#include <cstdint>

class CPicture;

class CDibBitmap {
public:
    CDibBitmap() = default;
    virtual ~CDibBitmap();
    CDibBitmap(const CDibBitmap&) = delete;
    CDibBitmap& operator=(const CDibBitmap&) = delete;

    // A section of exactly width x height pixels (its rows are padded to 4
    // bytes in memory, never widened by pixels). Always returns 1; the handle
    // is null when the section could not be made.
    int Create(int width, int height);
    // 1:1 copy of any-depth source into a new 24-bit section of its size.
    // The source may be this holder's own section. A null source empties the holder.
    void CopyFrom(HBITMAP source);
    // Stretched copy of the whole source into a new section of the target size
    // The source may be this holder's own section.
    void StretchFrom(HBITMAP source, int width, int height);
    // Create(width, height), then copy top-down packed R,G,B rows into it.
    void LoadRgb(const uint8_t* rgb, int width, int height);
    // Gives up the handle: the caller owns it afterwards.
    HBITMAP Detach();

    int m_width = 0;
    int m_height = 0;
    uint8_t* m_bits = nullptr;
    HBITMAP m_handle = nullptr;

private:
    // Takes a freshly made section (or none) in place of the held one.
    void Adopt(int width, int height, HBITMAP handle, uint8_t* bits);
};

// A new 24-bit bitmap from top-down packed R,G,B rows, owned by the caller;
// null when it could not be made.
HBITMAP BitmapFromRgb(const uint8_t* rgb, int width, int height);

// Where a picture of the given size lies in its 42 x 30 thumbnail: its aspect
// ratio kept, centred.
constexpr int kThumbWidth = 42;
constexpr int kThumbHeight = 30;
struct CPlacement {
    int x = 0;
    int y = 0;
    int width = kThumbWidth;
    int height = kThumbHeight;
};
CPlacement PlaceInThumbnail(int width, int height);

// Replaces the picture's freshly decoded full bitmap by its 42 x 30 thumbnail
// (the picture centred with its aspect ratio kept, white bars on the short
// side); with keepPicture the full bitmap stays beside it. Returns 1, or 0
// with the picture unchanged when it has no full bitmap.
int MakeThumbnail(CPicture& picture, bool keepPicture = false);
