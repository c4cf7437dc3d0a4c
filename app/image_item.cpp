#include "app/image_item.h"

#include "image/dib_bitmap.h"

CImageItem::CImageItem()
    : m_displayCopy(new CDibBitmap)
    , m_shrinkCopy(new CDibBitmap)
{
}

CImageItem::~CImageItem()
{
    FreePicture();
    ReleaseBitmap(m_thumbnail);
    m_thumbnail = nullptr;
    delete m_converted;
    delete m_displayCopy;
    delete m_shrinkCopy;
}

bool CImageItem::IsHeldByHolder(HBITMAP bitmap) const
{
    if (!bitmap)
        return false;
    for (const CDibBitmap* holder : {m_converted, m_displayCopy, m_shrinkCopy})
        if (holder && holder->m_handle == bitmap)
            return true;
    return false;
}

void CImageItem::ReleaseBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return;
    for (CDibBitmap* holder : {m_converted, m_displayCopy, m_shrinkCopy}) {
        if (holder && holder->m_handle == bitmap) {
            DeleteObject(holder->Detach());
            return;
        }
    }
    DeleteObject(bitmap);
}

void CImageItem::LendZoom(int lender, int zoom)
{
    if (m_zoomLenders == 0)
        m_savedZoom = m_zoom;
    m_zoomLenders |= lender;
    m_zoom = zoom;
}

void CImageItem::LendRotation(int lender, int rotation)
{
    if (m_rotationLenders == 0)
        m_savedRotation = m_rotation;
    m_rotationLenders |= lender;
    m_rotation = rotation;
}

void CImageItem::ReturnViewState(int lender)
{
    if ((m_zoomLenders & lender) && (m_zoomLenders &= ~lender) == 0)
        m_zoom = m_savedZoom;
    if ((m_rotationLenders & lender) && (m_rotationLenders &= ~lender) == 0)
        m_rotation = m_savedRotation;
}

void CImageItem::KeepViewState(int lender)
{
    m_zoomLenders &= ~lender;
    m_rotationLenders &= ~lender;
}

void CImageItem::FreePicture()
{
    HBITMAP full = m_fullBitmap;
    HBITMAP display = m_displayBitmap;
    m_fullBitmap = nullptr;
    m_displayBitmap = nullptr;
    ReleaseBitmap(full);
    if (display != full)
        ReleaseBitmap(display);
}
