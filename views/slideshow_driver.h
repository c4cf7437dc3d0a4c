// CSlideshowDriver: runs the slideshow of the main view: the timer (id 1035,
// "Interval" seconds) and the notifications of each step. The stepping itself
// is CSlideshow's; this class adds the settings, the timer, the menu check
// mark when a show ends by itself and the update broadcasts. The document's
// "Slide Show" command starts and stops it through the main view.
#pragma once

#include "app/slideshow.h"

#include <QObject>
#include <functional>
#include <memory>

class CImageItem;
class CLumoDoc;
class QTimer;

class CSlideshowDriver : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimerId = 1035;

    // doc is asked for at every use.
    CSlideshowDriver(std::function<CLumoDoc*()> doc, QObject* parent);
    ~CSlideshowDriver() override;

    // Starts the show, or stops it when it runs.
    void StartSlideshow();
    // Stops a running show and gives the shown entries their view state back.
    void StopSlideshow();
    // Stops and starts again, so the show goes on from the current entry.
    void RestartSlideshow();
    bool IsSlideshowRunning() const;
    // Gives a shown entry the slideshow's view state (the main view calls it).
    void Show(CImageItem* item, int zoom, int rotation);
    // Timer period in milliseconds while running (tests look at it).
    int Period() const;
    // One timer tick (the timer calls it; tests may too).
    void Step();

private:
    void SetCheck(bool on);

    std::function<CLumoDoc*()> m_doc;
    std::unique_ptr<CSlideshow> m_show;
    QTimer* m_timer;
};
