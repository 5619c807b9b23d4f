// The run history's lines for one run.
#pragma once

#include <string>
#include <vector>

#include "core/timestamp.h"
#include "invocation/toolcmdline.h"

// Lines 0 to 8 of a run (time stamp, serial group, command, argument positions
// 0 to 3, output, the separating blank), empty lines left out.
std::vector<std::string> ComposeRunHistoryLines(const ToolCommandInputs& in, const LocalTime& start);
