#include "app/slideshow.h"

#include "app/image_catalog.h"

#include <cstdlib>

namespace {

constexpr int kMinPeriodMs = 1000;
constexpr int kMaxPeriodMs = 24 * 60 * 60 * 1000;

}  // namespace

CSlideshow::CSlideshow(CImageCatalog* catalog)
    : m_catalog(catalog)
    , m_random([] { return std::rand(); })
{
}

CSlideshow::Direction CSlideshow::ParseDirection(const QString& text)
{
    if (text == QLatin1String("Forward"))
        return Direction::Forward;
    if (text == QLatin1String("Backward"))
        return Direction::Backward;
    if (text == QLatin1String("Random"))
        return Direction::Random;
    return Direction::Unknown;
}

int CSlideshow::PeriodMs(int seconds)
{
    if (seconds <= kMinPeriodMs / 1000)
        return kMinPeriodMs;
    if (seconds >= kMaxPeriodMs / 1000)
        return kMaxPeriodMs;
    return seconds * 1000;
}

CImageItem* CSlideshow::At(int index) const
{
    return m_catalog->GetAt(index);
}

bool CSlideshow::Start(const QString& direction)
{
    const int n = m_catalog->GetCount();
    if (n < 1)
        return false;
    const int i = m_catalog->GetCurrentIndex();
    int k = 0;
    switch (ParseDirection(direction)) {
    case Direction::Forward:
        k = i + 1;
        break;
    case Direction::Backward:
        k = i - 1;
        break;
    case Direction::Random:
        k = Random() % n;
        break;
    case Direction::Unknown:
        return false;
    }
    m_next = At(k);
    m_running = true;
    return true;
}

CSlideshow::Step CSlideshow::Tick(const QString& direction)
{
    Forget();
    const int n = m_catalog->GetCount();
    const Direction d = ParseDirection(direction);
    if (d == Direction::Unknown || n < 1) {
        for (CImageItem* item : m_catalog->GetList())
            item->KeepViewState(CImageItem::kLentBySlideshow);
        m_running = false;
        m_next = nullptr;
        return Step::Ended;
    }
    CImageItem* item = m_next;
    if (d == Direction::Forward) {
        if (!item)
            item = At(0);
        m_catalog->SetCurrent(item);
        m_next = At(m_catalog->IndexOf(item) + 1);
    } else if (d == Direction::Backward) {
        if (!item)
            item = At(n - 1);
        m_catalog->SetCurrent(item);
        const int index = m_catalog->IndexOf(item);
        m_next = index > 0 ? At(index - 1) : nullptr;
    } else {
        if (!item)
            item = At(Random() % n);
        m_catalog->SetCurrent(item);
        m_next = At(Random() % n);
    }
    return Step::Shown;
}

void CSlideshow::Stop()
{
    if (!m_running)
        return;
    for (CImageItem* item : m_catalog->GetList())
        item->ReturnViewState(CImageItem::kLentBySlideshow);
    m_next = nullptr;
    m_running = false;
}

void CSlideshow::Show(CImageItem* item, int zoom, int rotation)
{
    if (!m_running || !item)
        return;
    item->LendZoom(CImageItem::kLentBySlideshow, zoom);
    item->LendRotation(CImageItem::kLentBySlideshow, rotation);
}

void CSlideshow::Forget()
{
    if (m_next && m_catalog->IndexOf(m_next) < 0)
        m_next = nullptr;
}
