#include "image/picture.h"

#include "image/dib_bitmap.h"

CPicture::CPicture()
    : m_displayCopy(new CDibBitmap)
    , m_shrinkCopy(new CDibBitmap)
{
}

CPicture::~CPicture()
{
    FreePicture();
    ReleaseBitmap(m_thumbnail);
    m_thumbnail = nullptr;
    delete m_converted;
    delete m_displayCopy;
    delete m_shrinkCopy;
}

bool CPicture::IsHeldByHolder(HBITMAP bitmap) const
{
    if (!bitmap)
        return false;
    for (const CDibBitmap* holder : {m_converted, m_displayCopy, m_shrinkCopy})
        if (holder && holder->m_handle == bitmap)
            return true;
    return false;
}

void CPicture::ReleaseBitmap(HBITMAP bitmap)
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

void CPicture::FreePicture()
{
    HBITMAP full = m_fullBitmap;
    HBITMAP display = m_displayBitmap;
    m_fullBitmap = nullptr;
    m_displayBitmap = nullptr;
    ReleaseBitmap(full);
    if (display != full)
        ReleaseBitmap(display);
}
