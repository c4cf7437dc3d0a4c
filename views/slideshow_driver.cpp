#include "views/slideshow_driver.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "res/resource.h"

#include <QTimer>

CSlideshowDriver::CSlideshowDriver(std::function<CLumoDoc*()> doc, QObject* parent)
    : QObject(parent)
    , m_doc(std::move(doc))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Slideshow"));
    connect(m_timer, &QTimer::timeout, this, &CSlideshowDriver::Step);
}

CSlideshowDriver::~CSlideshowDriver() = default;

bool CSlideshowDriver::IsSlideshowRunning() const
{
    return m_show && m_show->IsRunning();
}

int CSlideshowDriver::Period() const
{
    return m_timer->isActive() ? m_timer->interval() : 0;
}

void CSlideshowDriver::SetCheck(bool on)
{
    if (CLumoDoc* doc = m_doc())
        doc->MenuChecks().SetCheck(Res::ID_SLIDE_SHOW, on);
}

void CSlideshowDriver::StartSlideshow()
{
    if (IsSlideshowRunning()) {
        StopSlideshow();
        return;
    }
    CLumoDoc* doc = m_doc();
    if (!doc)
        return;
    if (!m_show)
        m_show = std::make_unique<CSlideshow>(&doc->Catalog());
    if (!m_show->Start(Settings::SlideshowDirection()))
        return;
    m_timer->start(CSlideshow::PeriodMs(Settings::SlideshowInterval()));
}

void CSlideshowDriver::StopSlideshow()
{
    if (!IsSlideshowRunning())
        return;
    m_show->Stop();
    m_timer->stop();
}

void CSlideshowDriver::RestartSlideshow()
{
    StopSlideshow();
    StartSlideshow();
}

void CSlideshowDriver::Show(CImageItem* item, int zoom, int rotation)
{
    if (m_show)
        m_show->Show(item, zoom, rotation);
}

void CSlideshowDriver::Step()
{
    CLumoDoc* doc = m_doc();
    if (!doc || !IsSlideshowRunning())
        return;
    if (m_show->Tick(Settings::SlideshowDirection()) == CSlideshow::Step::Ended) {
        m_timer->stop();
        SetCheck(false);
    }
    doc->UpdateAllViews(nullptr, CImageCatalog::kHintCurrentChanged);
    doc->UpdateAllViews(nullptr, CImageCatalog::kHintListChanged);
}
