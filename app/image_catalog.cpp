#include "app/image_catalog.h"

#include <algorithm>

CImageCatalog::~CImageCatalog()
{
    for (CImageItem* item : m_list)
        delete item;
}

std::vector<CImageItem*> CImageCatalog::GetList() const
{
    std::lock_guard lock(m_mutex);
    return m_list;
}

int CImageCatalog::GetCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_list.size());
}

CImageItem* CImageCatalog::GetAt(int index) const
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= int(m_list.size()))
        return nullptr;
    return m_list[size_t(index)];
}

int CImageCatalog::IndexOf(const CImageItem* item) const
{
    std::lock_guard lock(m_mutex);
    auto it = std::find(m_list.begin(), m_list.end(), item);
    return it == m_list.end() ? -1 : int(it - m_list.begin());
}

CImageItem* CImageCatalog::GetCurrent() const
{
    std::lock_guard lock(m_mutex);
    return m_current;
}

void CImageCatalog::SetCurrent(CImageItem* item)
{
    std::lock_guard lock(m_mutex);
    // The current entry is always an entry of the list, or none.
    if (item && std::find(m_list.begin(), m_list.end(), item) == m_list.end())
        item = nullptr;
    m_current = item;
    if (item)
        item->m_picture.m_lastShown = ++m_shownCount;
}

int CImageCatalog::GetCurrentIndex() const
{
    std::lock_guard lock(m_mutex);
    return m_current ? IndexOf(m_current) : -1;
}

void CImageCatalog::SetSourcePath(const QString& path)
{
    std::lock_guard lock(m_mutex);
    m_sourcePath = path;
}

QString CImageCatalog::GetSourcePath() const
{
    std::lock_guard lock(m_mutex);
    return m_sourcePath;
}

void CImageCatalog::Append(CImageItem* item)
{
    if (!item)
        return;
    std::lock_guard lock(m_mutex);
    m_list.push_back(item);
}

int CImageCatalog::RemoveAll()
{
    std::vector<CImageItem*> doomed;
    {
        std::lock_guard lock(m_mutex);
        if (m_list.empty())
            return 0;
        doomed.swap(m_list);
        m_current = nullptr;
    }
    for (CImageItem* item : doomed)
        delete item;
    return 1;
}

int CImageCatalog::RemoveItem(CImageItem* item)
{
    if (!item)
        return 0;
    {
        std::lock_guard lock(m_mutex);
        auto it = std::find(m_list.begin(), m_list.end(), item);
        if (it != m_list.end())
            m_list.erase(it);
        if (m_current == item)
            m_current = nullptr;
    }
    delete item;
    return 1;
}

int CImageCatalog::MoveCurrent(int delta)
{
    std::lock_guard lock(m_mutex);
    const int i = GetCurrentIndex();
    const int n = int(m_list.size());
    if (i < 0 || i + delta < 0 || i + delta >= n)
        return 0;
    CImageItem* item = m_list[size_t(i)];
    m_list.erase(m_list.begin() + i);
    m_list.insert(m_list.begin() + (i + delta), item);
    return 1;
}

void CImageCatalog::SetNotifier(std::function<void(int hint)> notifier)
{
    std::lock_guard lock(m_mutex);
    m_notifier = std::move(notifier);
}

void CImageCatalog::Notify(int hint) const
{
    std::function<void(int)> notifier;
    {
        std::lock_guard lock(m_mutex);
        notifier = m_notifier;
    }
    if (notifier)
        notifier(hint);
}

QString CImageCatalog::TitleOf(const QString& path)
{
    const int b = int(path.lastIndexOf(QLatin1Char('\\')));
    const int d = int(path.lastIndexOf(QLatin1Char('.')));
    const int n = d - b - 1;
    return n > 0 ? path.mid(b + 1, n) : QString();
}
