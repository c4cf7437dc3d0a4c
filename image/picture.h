// CPicture: what loading a picture gives: its file's size and time, its type,
// its size and depth, and its bitmaps (the full picture, the one sized for
// the display, the thumbnail and the holders of the copies made from them).
// CPictureFile: where a picture's bytes are.
#pragma once

#include "image/gdi.h"
#include "image/pixel_rect.h"
#include "image/zip_member_pos.h"
#include "platform/time_value.h"

#include <QString>
#include <cstdint>
#include <vector>

class CDibBitmap;

// A plain file's device path, or a member (path) of the archive named by
// source, found at memberPosition when the archive was listed.
struct CPictureFile {
    QString path;
    QString source;
    CZipMemberPos memberPosition;
};

// A part of a picture in its own upright pixels, decoded at 1 / scale: each
// decoded pixel stands for scale x scale picture pixels.
struct CPictureRegion {
    CPixelRect rect;
    int scale = 1;
    bool Empty() const { return rect.Empty(); }
    bool operator==(const CPictureRegion&) const = default;
};

class CPicture {
public:
    CPicture();
    ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // Frees the full, display and detail bitmaps, each exactly once: a full bitmap
    // owned by one of the holders is released through that holder.
    void FreePicture();
    // True when the handle belongs to one of the holders.
    bool IsHeldByHolder(HBITMAP bitmap) const;
    // Releases a bitmap through the holder that owns it, or directly.
    void ReleaseBitmap(HBITMAP bitmap);
    // Pixel bytes of the full, display and detail bitmaps (the thumbnail not counted).
    int64_t DecodedBytes() const;
    // Takes the full bitmap that decoding from's file left in from, with the
    // holders that may own it and the facts the decode read; this picture's
    // own full, display and detail bitmaps are freed first, its thumbnail and its
    // last-shown stamp stay. from keeps its thumbnail and nothing decoded.
    void TakeDecoded(CPicture& from);

    CDibBitmap* m_converted = nullptr;  // 24-bit copy of a picture of lower depth
    CDibBitmap* m_displayCopy;          // picture scaled for the current zoom
    CDibBitmap* m_shrinkCopy;           // large BMP reduced by 2 or 4
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    QString m_typeName;
    double m_displayScale = 1.0;
    uint32_t m_fileSize = 0;
    CTime m_modified;
    HBITMAP m_fullBitmap = nullptr;
    HBITMAP m_displayBitmap = nullptr;
    HBITMAP m_thumbnail = nullptr;
    // The Exif orientation the decoded bitmap was turned upright by (1: none).
    int m_orientation = 1;
    // A region decoded sharper than the full bitmap holds it, for a zoom that
    // needs the detail: 24 bits, upright, m_detailRegion.rect at its scale.
    // Freed with the full bitmap.
    HBITMAP m_detail = nullptr;
    CPictureRegion m_detailRegion;
    uint64_t m_lastShown = 0;  // when it was last made current: larger is later
};

// What the decoded pictures kept for Quick View may hold together.
constexpr int64_t kDecodedBudgetBytes = int64_t(64) << 20;

// The pixel bytes of the full and display bitmaps of all the pictures.
int64_t DecodedBytes(const std::vector<CPicture*>& pictures);

// Frees the full and display bitmaps of the pictures not in keep, least
// recently shown first, until all of them with keep hold at most budget bytes.
void TrimDecoded(const std::vector<CPicture*>& pictures, const std::vector<const CPicture*>& keep, int64_t budget);
