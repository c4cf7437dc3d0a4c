// How late the script's steps run: a command that holds the event loop makes
// the next step late by that time, as a tap made meanwhile would wait, while
// the harness's own work (a screenshot, a dump) does not count.
#include "automation/script_schedule.h"
#include "lumo_run.h"

#include <QEventLoop>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs two steps: the first holds the loop for holdMs, the second notes the
// longest delay so far.
qint64 LateAfterABusyCommand(int holdMs, bool harnessWork)
{
    EnsureApplication();
    QEventLoop loop;
    CScriptSchedule schedule([] { return true; });
    int step = 0;
    qint64 late = -1;
    schedule.Start([&] {
        if (!schedule.Ready())
            return;
        if (step++ == 1) {
            late = schedule.LongestLateMs();
            loop.quit();
            return;
        }
        schedule.BeforeCommand();
        if (harnessWork)
            schedule.HarnessWork();
        QThread::msleep(ulong(holdMs));
        schedule.AfterCommand();
    });
    loop.exec();
    return late;
}

}  // namespace

TEST(ScriptSchedule, ACommandsOwnTimeMakesTheNextStepLateUnlessItIsTheHarnesss)
{
    EXPECT_GE(LateAfterABusyCommand(300, false), 300);
    EXPECT_LT(LateAfterABusyCommand(300, true), 300);
}
