// CSlideshow: the stepping of a slideshow over the catalog: where it starts,
// which entry each tick makes current (forward, backward or at random), and
// the view state it lends the entries it shows, given back when it stops. The
// main view owns one and drives it from its timer; this class never touches
// the screen, so tests step it directly.
//
// The next entry is kept as a pointer and checked against the catalog before
// it is used: an entry removed from the catalog, or a catalog rebuilt under
// the show, re-anchors the show at the start of its direction instead of
// touching an entry that is gone.
#pragma once

#include <QString>
#include <functional>

class CImageCatalog;
class CImageItem;

class CSlideshow {
public:
    enum class Direction { Forward, Backward, Random, Unknown };
    enum class Step { Shown, Ended };

    explicit CSlideshow(CImageCatalog* catalog);

    // "Forward", "Backward" and "Random", letter case included.
    static Direction ParseDirection(const QString& text);
    // The timer period for an "Interval" in seconds, kept between one second
    // and one day so that no stored value makes the show race or stall.
    static int PeriodMs(int seconds);
    // The random source (the C library's unseeded rand() unless a test sets one).
    void SetRandom(std::function<int()> random) { m_random = std::move(random); }

    // Starts from the current entry; false (nothing starts) for an empty
    // catalog or an unknown direction. The picture does not change now.
    bool Start(const QString& direction);
    // One tick: makes the next entry current. Ended when the direction is
    // unknown (the entries keep their slideshow view state) or the catalog
    // is empty.
    Step Tick(const QString& direction);
    // Gives each entry shown during this show the zoom and rotation it had
    // before the show, and stops.
    void Stop();
    bool IsRunning() const { return m_running; }

    // Gives a shown entry the slideshow's zoom and rotation, lent to it
    // until the show stops.
    void Show(CImageItem* item, int zoom, int rotation);
    // Forgets a next entry that left the catalog (after a removal or a rebuild).
    void Forget();
    CImageItem* Next() const { return m_next; }

private:
    int Random() { return m_random ? m_random() : 0; }
    CImageItem* At(int index) const;

    CImageCatalog* m_catalog;
    std::function<int()> m_random;
    bool m_running = false;
    CImageItem* m_next = nullptr;
};
