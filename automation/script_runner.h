// CScriptRunner: drives the program from a script, one command a line (see
// command_table.cpp), from the event loop, so that it goes on inside modal
// dialogs and pop-up menus. Input is delivered as the pen and keys would
// deliver it, at device-screen coordinates. A failing command ends the
// program with status 2.
#pragma once

#include "automation/script_command.h"
#include "automation/script_schedule.h"

#include <QStringList>

class CLumoApp;

class CScriptRunner {
public:
    CScriptRunner(CLumoApp* app, QStringList lines);

    void Start();

private:
    void Next();
    void Fail(const QString& reason);
    bool IsIdle() const;

    QStringList m_lines;
    int m_line = 0;
    bool m_failed = false;
    CScriptSchedule m_schedule;
    ScriptContext m_context;
};
