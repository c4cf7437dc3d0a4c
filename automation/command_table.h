// The script commands by name, each with the shape of its arguments, checked
// before the command runs.
#pragma once

#include "automation/script_command.h"

namespace CommandTable {

// Runs the command a line's words name; false with *reason set when the
// command is unknown, its words do not fit its shape, or it fails.
bool Run(ScriptContext& context, const QStringList& words, QString* reason);

}  // namespace CommandTable
