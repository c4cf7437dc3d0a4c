// When a script's steps run. A step runs from the event loop when it is due,
// so that the script goes on inside modal dialogs and pop-up menus; after a
// command the next step is due at once, after the command's `wait`, or once
// the program has been idle a while (`idle`).
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class CScriptSchedule {
public:
    // isIdle tells whether the program has no work left in the background.
    explicit CScriptSchedule(std::function<bool()> isIdle);

    void Start(std::function<void()> step);
    void Stop();
    // At the start of a step: notes how late it runs; false when an `idle`
    // wait is not over (the step is then put off).
    bool Ready();
    // Before a command: the next step is due even when the command opens a
    // modal dialog or menu, whose own event loop then runs the rest.
    void BeforeCommand();
    // After a command that returned to this step: the next one was due when
    // the command started (plus its wait), so the time the command held the
    // event loop (a key press that decodes a picture) counts as the next
    // step's delay, as a tap made meanwhile would have waited.
    void AfterCommand();
    // Called by a command whose time is the harness's own (a screenshot, a
    // dump), not the program's: the next step is due from its end.
    void HarnessWork() { m_harnessWork = true; }

    // What commands ask for: the next step waits ms, or until the program is idle.
    void ResumeAfter(int ms) { m_resumeAfterMs = ms; }
    void WaitIdle() { m_waitIdle = true; }

    qint64 ElapsedMs() const { return m_clock.elapsed(); }
    // How late the event loop let due steps run: a step waits like a tap
    // would, so the longest wait is the run's worst answer time to input.
    qint64 LongestLateMs() const { return m_longestLateMs; }

private:
    // Runs the next step at the given time of the clock (at once when past).
    void DueAt(qint64 at);
    void After(int ms) { DueAt(m_clock.elapsed() + ms); }

    std::function<bool()> m_isIdle;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QElapsedTimer m_idleSince;
    qint64 m_dueAt = -1;
    qint64 m_commandStart = 0;
    qint64 m_longestLateMs = 0;
    int m_resumeAfterMs = -1;
    bool m_waitIdle = false;
    bool m_harnessWork = false;
};
