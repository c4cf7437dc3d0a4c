// CSplashWnd: the start-up splash, a picture centred over the device screen
// and kept above everything else on it. It goes away by itself when its
// timer fires, or at once when the user presses a key or taps it; that key or
// tap reaches no other window. It deletes itself when it closes: whoever
// shows it must not keep or delete it.
#pragma once

#include <QPixmap>
#include <QWidget>

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerId = 1;  // the timer asked for; the platform's id is kept

    CSplashWnd(int bitmapId, int displayMs);

    // Loads the bitmap, lays the window centred over screen (shown first if
    // it is not yet), paints it at once and starts the timer. Returns whether
    // the window was made.
    bool Show(QWidget* screen);
    // Start-up's step: a splash over screen when wanted (interactive runs,
    // scripts that ask with --splash); start-up does not wait for it.
    static void ShowSplash(QWidget* screen, int bitmapId, int displayMs, bool wanted);

    // A timer event: the kept id closes the splash (true); any other is left
    // to the framework (false).
    bool OnTimer(int timerId);
    int TimerId() const { return m_timerId; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Sees every event of the program while the splash is up: keys, and
    // presses on the splash, close it and go no further.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Close();
    void StopSwallowing();

    int m_bitmapId;
    int m_displayMs;
    int m_timerId = 0;
    QPixmap m_bitmap;
    // Closed by a press: what follows of that tap, and a double tap's second
    // half, are swallowed for a double-click interval; then the object goes.
    bool m_swallowing = false;
};
