#include "app/memo_property.h"

#include <algorithm>

namespace MemoProperty {

const QStringList& Sizes()
{
    static const QStringList sizes
        = {"6", "7", "8", "9", "10", "11", "12", "14", "16", "18", "20", "24", "28", "32", "40"};
    return sizes;
}

int FindPrefix(const QStringList& items, const QString& text)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].startsWith(text, Qt::CaseInsensitive))
            return i;
    return -1;
}

}  // namespace MemoProperty

CFontTable& CFontTable::Shared()
{
    static CFontTable table;
    return table;
}

bool CFontTable::Add(const QString& family)
{
    if (m_names.size() >= kSlots)
        return false;
    m_names.append(family);
    return m_names.size() < kSlots;
}

void CFontTable::Fill(const QStringList& families)
{
    for (const QString& family : families)
        if (!Add(family))
            return;
}

QStringList CFontTable::Sorted() const
{
    QStringList sorted = m_names;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return sorted;
}
