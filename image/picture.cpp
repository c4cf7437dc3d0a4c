#include "image/picture.h"

#include "image/dib_bitmap.h"

#include <algorithm>

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
    DeleteObject(m_detail);
    m_detail = nullptr;
    m_detailRegion = {};
}

int64_t CPicture::DecodedBytes() const
{
    const auto bytes = [](HBITMAP b) { return b ? int64_t(b->Stride()) * b->Height() : 0; };
    return bytes(m_fullBitmap) + (m_displayBitmap != m_fullBitmap ? bytes(m_displayBitmap) : 0) + bytes(m_detail);
}

void CPicture::TakeDecoded(CPicture& from)
{
    FreePicture();
    std::swap(m_converted, from.m_converted);
    std::swap(m_shrinkCopy, from.m_shrinkCopy);
    std::swap(m_fullBitmap, from.m_fullBitmap);
    std::swap(m_displayBitmap, from.m_displayBitmap);
    from.FreePicture();
    m_width = from.m_width;
    m_height = from.m_height;
    m_orientation = from.m_orientation;
    m_bitsPerPixel = from.m_bitsPerPixel;
    m_typeName = from.m_typeName;
    m_fileSize = from.m_fileSize;
    m_modified = from.m_modified;
}

int64_t DecodedBytes(const std::vector<CPicture*>& pictures)
{
    int64_t total = 0;
    for (const CPicture* each : pictures)
        total += each ? each->DecodedBytes() : 0;
    return total;
}

void TrimDecoded(const std::vector<CPicture*>& pictures, const std::vector<const CPicture*>& keep, int64_t budget)
{
    std::vector<CPicture*> others;
    int64_t total = 0;
    for (const CPicture* each : keep)
        total += each->DecodedBytes();
    for (CPicture* each : pictures)
        if (each && std::find(keep.begin(), keep.end(), each) == keep.end() && each->DecodedBytes() > 0) {
            others.push_back(each);
            total += each->DecodedBytes();
        }
    std::stable_sort(others.begin(), others.end(),
                     [](const CPicture* a, const CPicture* b) { return a->m_lastShown < b->m_lastShown; });
    for (CPicture* each : others) {
        if (total <= budget)
            break;
        total -= each->DecodedBytes();
        each->FreePicture();
    }
}
