// CImageItem: one picture of the catalog: where it comes from, what loading
// it gave (its CPicture: file facts, type, size, bitmaps), its view state and
// its memo.
#pragma once

#include "image/memo_text.h"
#include "image/picture.h"
#include "image/zip_member_pos.h"

#include <QString>

class CImageItem {
public:
    CImageItem();
    virtual ~CImageItem();
    CImageItem(const CImageItem&) = delete;
    CImageItem& operator=(const CImageItem&) = delete;

    // Where the picture's bytes are, for the loader.
    CPictureFile File() const { return {m_path, m_source, m_memberPosition}; }

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

    QString m_path;                  // file path; member name for a ZIP member
    QString m_source;                // catalog source path, or the archive
    QString m_album;                 // the album an archive member was read from
    CZipMemberPos m_memberPosition;  // a member's entry in the archive, when listed
    int m_zoom = -1;                 // percent (>= 1), 0 = fit, -1 = fill
    int m_contrast = 0;
    int m_brightness = 0;
    int m_rotation = 0;
    CMemoRecord m_memo;
    CPicture m_picture;
    int m_savedRotation = 0;  // the picture's own values while they are lent
    int m_savedZoom = -1;
    int m_zoomLenders = 0;  // kLentBy* bits
    int m_rotationLenders = 0;
};
