// Script commands that drive the controls of the top-most open dialog or tool
// window by numeric identifier, as the pen would:
//   click ID          push or tool button
//   check ID 0|1      check box or radio button
//   select ID TEXT    combo box or list: the entry with that exact text;
//                     tree: the item whose device path is TEXT (its folders
//                     are opened on the way); tab: the page with that caption;
//                     report: the row whose first column is TEXT
//   settext ID TEXT   edit or editable combo box, typed over its text; in
//                     a multi-line edit "\n" is a line break
//   slide ID VALUE    slider dragged to VALUE, reporting each position passed
// With no dialog or tool window open, they address the top window (a pop-up
// menu or the device screen).
#pragma once

#include "automation/script_command.h"

namespace DialogDriver {

bool Click(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Check(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Select(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool SetText(ScriptContext& context, const ScriptArgs& args, QString* reason);
bool Slide(ScriptContext& context, const ScriptArgs& args, QString* reason);
// The window the commands address.
QWidget* Target();

}  // namespace DialogDriver
