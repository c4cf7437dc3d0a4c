#include "automation/script_schedule.h"

#include <algorithm>

CScriptSchedule::CScriptSchedule(std::function<bool()> isIdle)
    : m_isIdle(std::move(isIdle))
{
}

void CScriptSchedule::Start(std::function<void()> step)
{
    m_timer.setSingleShot(true);
    m_timer.callOnTimeout(std::move(step));
    m_clock.start();
    After(0);
}

void CScriptSchedule::Stop()
{
    m_timer.stop();
}

void CScriptSchedule::DueAt(qint64 at)
{
    m_dueAt = at;
    m_timer.start(int(std::max<qint64>(at - m_clock.elapsed(), 0)));
}

bool CScriptSchedule::Ready()
{
    if (m_dueAt >= 0)
        m_longestLateMs = std::max(m_longestLateMs, m_clock.elapsed() - m_dueAt);
    if (m_waitIdle) {
        if (!m_isIdle())
            m_idleSince.start();
        if (m_idleSince.elapsed() < 20) {
            After(5);
            return false;
        }
        m_waitIdle = false;
    }
    return true;
}

void CScriptSchedule::BeforeCommand()
{
    m_resumeAfterMs = -1;
    m_harnessWork = false;
    m_commandStart = m_clock.elapsed();
    After(0);
}

void CScriptSchedule::AfterCommand()
{
    const qint64 from = m_harnessWork ? m_clock.elapsed() : m_commandStart;
    if (m_waitIdle) {
        m_idleSince.start();
        DueAt(from);
    } else {
        DueAt(from + std::max(m_resumeAfterMs, 0));
    }
}
