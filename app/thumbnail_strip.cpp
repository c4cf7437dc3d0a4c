#include "app/thumbnail_strip.h"

#include <algorithm>

namespace {

constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;

}  // namespace

bool CThumbnailStrip::SetWidth(int width)
{
    const int cells = std::max(1, (width - 2 * kButtonWidth) / kCellWidth);
    if (cells == m_cells)
        return false;
    m_cells = cells;
    if (m_first > 0)
        m_first = PageOf(m_first);
    return true;
}

void CThumbnailStrip::Clear()
{
    m_selected = m_first = m_lastPage = m_minimum = -1;
}

bool CThumbnailStrip::Refresh(int n, int currentIndex)
{
    if (n < 1) {
        Clear();
        return true;
    }
    m_minimum = 0;
    m_selected = currentIndex;
    if (n <= m_cells) {
        const bool moved = m_first != 0;
        m_first = 0;
        m_lastPage = 0;
        return moved;
    }
    m_lastPage = PageOf(n - 1);
    bool moved = false;
    if (m_selected >= 0 && PageOf(m_selected) != m_first) {
        m_first = PageOf(m_selected);
        moved = true;
    }
    // A catalog that shrank under a page that no longer exists (or a first
    // build without a current entry) starts at the first page.
    if (m_first < 0 || m_first > m_lastPage) {
        m_first = m_selected >= 0 ? PageOf(m_selected) : 0;
        moved = true;
    }
    return moved;
}

bool CThumbnailStrip::CanDraw(int n, int currentIndex) const
{
    return n > 0 && m_first >= 0 && currentIndex >= 0 && m_minimum >= 0 && m_lastPage >= 0 && m_first < n;
}

int CThumbnailStrip::End(int n) const
{
    if (m_first < 0)
        return m_first;
    return n > m_cells && m_first + m_cells < n ? m_first + m_cells : n;
}

int CThumbnailStrip::FrameCell(int n) const
{
    if (m_selected < 0 || m_selected < m_first || m_selected >= End(n))
        return -1;
    return m_selected - m_first;
}

bool CThumbnailStrip::HitTest(int x, int y, int n) const
{
    if (m_first < 0)
        return false;
    return x >= kButtonWidth && x < CellLeft(OccupiedCells(n)) && y >= 0 && y < kCellHeight;
}

int CThumbnailStrip::IndexAt(int x, int y, int n) const
{
    return HitTest(x, y, n) ? m_first + (x - kButtonWidth) / kCellWidth : -1;
}

bool CThumbnailStrip::PageLeft()
{
    if (m_minimum >= m_first)
        return false;
    m_first = std::max(m_first - m_cells, m_minimum);
    return true;
}

bool CThumbnailStrip::PageRight(bool* onLastPage)
{
    *onLastPage = m_first >= m_lastPage;
    if (m_first >= m_lastPage)
        return false;
    m_first = std::min(m_first + m_cells, m_lastPage);
    *onLastPage = m_first >= m_lastPage;
    return true;
}

int CThumbnailStrip::KeyTarget(int vk, int n) const
{
    const int s = m_selected;
    switch (vk) {
    case kVkLeft:
        return s - 1 < 0 ? -1 : s - 1;
    case kVkUp:  // a page of cells back
        if (s - m_cells < 0 && s < 1)
            return -1;
        return std::max(s - m_cells, 0);
    case kVkRight:
        return s + 1 >= n ? -1 : s + 1;
    case kVkDown:
        if (s + m_cells >= n && s >= n - 1)
            return -1;
        return std::min(s + m_cells, n - 1);
    default:
        return -1;
    }
}

void CThumbnailStrip::Select(int index)
{
    m_selected = index;
    m_first = PageOf(index);
}

bool CThumbnailStrip::PageLeftBeforeRemove(int n)
{
    // Only the removed picture's own page can empty: the last page, when it
    // holds nothing but that picture.
    if (m_lastPage != n - 1 || m_selected != n - 1)
        return false;
    return PageLeft();
}

int CThumbnailStrip::AfterRemove(int m)
{
    if (m < 1) {
        m_selected = -1;
        m_lastPage = 0;
    } else if (m == 1) {
        m_selected = 0;
        m_lastPage = 0;
    } else {
        if (m_selected == m)
            --m_selected;
        m_lastPage = PageOf(m - 1);
    }
    return m_selected;
}
