// Script commands that reach the program through its menus and commands:
//   menu LABEL...        the command bar's menu and its items by label; with a
//                        pop-up menu open, the labels pick from it
//   command ID           the command with that identifier, if enabled
//   answer PATH|cancel   what the next save-file or File Open dialog does
//   browse PATH [0|1]    what the folder browser's OK does (1: with sub-folders)
#pragma once

#include "automation/script_command.h"

namespace MenuCommands {

bool Menu(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Command(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Answer(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Browse(ScriptContext& context, const ScriptArgs& args, QString* reason);

}  // namespace MenuCommands
