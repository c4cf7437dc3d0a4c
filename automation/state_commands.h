// Script commands about the run itself:
//   shot FILE    a PNG picture of the device screen
//   dump FILE|-  the program's state as JSON, with the script's own time
//                (scriptMs) and its longest delay to a due step (scriptLateMs)
//   idle         the next command waits until the program has no work left
//   wait MS      the next command waits MS
//   quit         the script ends here
#pragma once

#include "automation/script_command.h"

namespace StateCommands {

bool Shot(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Dump(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Idle(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Wait(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Quit(ScriptContext& context, const ScriptArgs& args, QString* reason);

}  // namespace StateCommands
