// CDeviceScreen: the device's screen as one top-level window. Top to bottom:
// the task bar band (the active window's title and the clock), the main
// frame, and the command bar band, which the frame's command bar occupies.
// Full screen gives the frame every row. Tool windows and the splash are
// children laid over it and kept on top.
#pragma once

#include <QList>
#include <QPointer>
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

    // Keeps child above every other child of the screen, also above those
    // made or raised later (the splash, the effect window). The last one
    // marked lies on top.
    void SetTopMost(QWidget* child);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RaiseTopMost();

    // Before the task bar: children made in the constructor are heard of.
    QList<QPointer<QWidget>> m_topMost;
    bool m_raising = false;
    CTaskBar* m_taskBar;
};
