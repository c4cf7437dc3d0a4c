// CImageItem: one picture of the catalog: where it comes from, its file
// facts, its decoded bitmaps, its view state and its memo.
#pragma once

#include "image/gdi.h"
#include "image/memo_text.h"
#include "image/zip_member_pos.h"
#include "platform/time_value.h"

#include <QString>
#include <cstdint>
#include <optional>

class CDibBitmap;

class CImageItem {
public:
    CImageItem();
    virtual ~CImageItem();
    CImageItem(const CImageItem&) = delete;
    CImageItem& operator=(const CImageItem&) = delete;

    // Frees the full and display bitmaps, each exactly once: a full bitmap
    // owned by one of the holders is released through that holder.
    void FreePicture();
    // True when the handle belongs to one of the item's holders.
    bool IsHeldByHolder(HBITMAP bitmap) const;
    // Releases a bitmap through the holder that owns it, or directly.
    void ReleaseBitmap(HBITMAP bitmap);

    // Full screen and the slideshow lend a picture their own zoom and
    // rotation for a while. The picture's own values wait in the saved slots
    // from the first loan until the last lender gives them back, so a picture
    // shown twice, or by both lenders at once, still gets its own values back.
    static constexpr int kLentByFullScreen = 1;
    static constexpr int kLentBySlideshow = 2;
    void LendZoom(int lender, int zoom);
    void LendRotation(int lender, int rotation);
    // Gives back what lender lent: each field returns to the picture's own
    // value once no lender holds it any more.
    void ReturnViewState(int lender);
    // Ends lender's loans without giving back: its values stay as they are.
    void KeepViewState(int lender);

    CDibBitmap* m_converted = nullptr;  // 24-bit copy of a picture of lower depth
    CDibBitmap* m_displayCopy;          // picture scaled for the current zoom
    CDibBitmap* m_shrinkCopy;           // large BMP reduced by 2 or 4
    QString m_path;                     // file path; member name for a ZIP member
    QString m_source;                   // catalog source path, or the archive
    QString m_album;                    // the album an archive member was read from
    CZipMemberPos m_memberPosition;     // a member's entry in the archive, when listed
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    QString m_typeName;
    int m_zoom = -1;  // percent (>= 1), 0 = fit, -1 = fill
    int m_contrast = 0;
    int m_brightness = 0;
    int m_rotation = 0;
    double m_displayScale = 1.0;
    uint32_t m_fileSize = 0;
    CTime m_modified;
    CMemoRecord m_memo;
    HBITMAP m_fullBitmap = nullptr;
    HBITMAP m_displayBitmap = nullptr;
    HBITMAP m_thumbnail = nullptr;
    int m_savedRotation = 0;  // the picture's own values while they are lent
    int m_savedZoom = -1;
    int m_zoomLenders = 0;  // kLentBy* bits
    int m_rotationLenders = 0;
};
