#include "image/dib_bitmap.h"
#include "image/picture.h"

// Single-precision arithmetic, truncating, so every thumbnail lands on the
// same pixels.
CPlacement PlaceInThumbnail(int width, int height)
{
    CPlacement p;
    const float ratio = float(width) / float(height);
    if (ratio > 1.3333334f) {
        p.height = int(float(height) / float(width) * 42.0f);
        p.y = (kThumbHeight - p.height) / 2;
    } else if (ratio < 1.3333334f) {
        p.width = int(ratio * 30.0f);
        p.x = (kThumbWidth - p.width) / 2;
    }
    return p;
}

int MakeThumbnail(CPicture& picture, bool keepPicture)
{
    HBITMAP decoded = picture.m_fullBitmap;
    BITMAP info;
    if (!GetObject(decoded, &info))
        return 0;
    HBITMAP thumbnail = CreateBitmap(kThumbWidth, kThumbHeight, 1, 24, nullptr);
    if (!thumbnail)
        return 0;
    FillRect(thumbnail, 0, 0, kThumbWidth, kThumbHeight, 255, 255, 255);
    const CPlacement p = PlaceInThumbnail(info.bmWidth, info.bmHeight);
    if (p.width > 0 && p.height > 0)
        StretchBlt(thumbnail, p.x, p.y, p.width, p.height, decoded, 0, 0, info.bmWidth, info.bmHeight);

    // An earlier thumbnail is released rather than overwritten and leaked.
    if (picture.m_thumbnail != decoded)
        picture.ReleaseBitmap(picture.m_thumbnail);
    picture.m_thumbnail = thumbnail;
    if (keepPicture)
        return 1;
    picture.m_fullBitmap = nullptr;
    if (picture.m_displayBitmap == decoded)
        picture.m_displayBitmap = nullptr;
    picture.ReleaseBitmap(decoded);
    return 1;
}
