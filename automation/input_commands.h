// Script commands that give pen and key input at device-screen points:
//   tap X Y, dtap X Y, down X Y, move X Y, up X Y
//   drag X1 Y1 X2 Y2 [STEPS]   down, STEPS moves (8 unless given), up
//   hold X Y MS                down, and up after MS while the script waits
//   key NAME                   see Input::KeyPress
// The widget that takes the pen-down also takes the moves and the pen-up.
#pragma once

#include "automation/script_command.h"

namespace InputCommands {

bool Tap(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool DoubleTap(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Down(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Move(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Up(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Drag(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Hold(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Key(ScriptContext& context, const ScriptArgs& args, QString* reason);

}  // namespace InputCommands
