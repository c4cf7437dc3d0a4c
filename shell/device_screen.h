// CDeviceScreen: the device's screen as one top-level window. Top to bottom:
// the task bar band (the active window's title and the clock), the main
// frame, and the command bar band, which the frame's command bar occupies.
// Full screen gives the frame every row.
#pragma once

#include <QString>
#include <QWidget>

class CTaskBar : public QWidget {
    Q_OBJECT
public:
    explicit CTaskBar(QWidget* parent);
    void SetTitle(const QString& title);
    QString Title() const { return m_title; }
    // A fixed clock text (scripted runs); empty shows the real time.
    void SetFixedClock(const QString& clock);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_fixedClock;
};

class CDeviceScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTaskBarHeight = 26;
    static constexpr int kCommandBarHeight = 26;

    CDeviceScreen(int width, int height);
    static CDeviceScreen* Instance();

    CTaskBar* TaskBar() const { return m_taskBar; }
    // Shows or hides the task bar band (the shell's full-screen calls act here).
    void ShowTaskBar(bool show);
    bool TaskBarVisible() const;
    // Where the main frame and the command bar lie, in screen pixels.
    QRect TaskBarRect() const;
    QRect CommandBarRect() const;
    QRect WorkArea() const;  // between the two bands

private:
    CTaskBar* m_taskBar;
};
