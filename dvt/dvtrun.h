// A DVT run: the tool command line for the case on screen, the script
// "run_Dvttest.bat", and running it.
#pragma once

#include <cstdint>
#include <string>

#include "core/timestamp.h"
#include "invocation/runner.h"

extern const char* const kDvtScriptName;  // "run_Dvttest.bat"

// What a run reads: the main window's tool path and the list positions of its
// five serial lists as they were when the DVT Test window opened (-1 for a list
// without a selection), the DVT folder and the case on screen.
struct DvtRunInputs {
  std::string toolPath;
  int32_t portIndex = -1;
  int32_t baudIndex = -1;
  int32_t dataIndex = -1;
  int32_t stopIndex = -1;
  int32_t parityIndex = -1;
  std::string dvtPath;
  int32_t currentCase = 0;
};

// Tool file name, the serial pieces, the case's image (bare for a file
// download, "-cmd irdeto_dev_program -arg0 <image>" for case 0) and "-d ",
// each ending in one blank. Empty when the tool path or the DVT folder is
// empty, the case is outside the catalogue, or a path cannot be passed as one
// argument.
std::string BuildDvtCommandLine(const DvtRunInputs& in);

// The four script lines, each ending in CR LF: the REM line with `time`, the
// tool's drive, "cd" to the tool's folder, the command line and "2>&1"
// (ComposeToolRunScript). Empty when no command line can be built.
std::string ComposeDvtScript(const DvtRunInputs& in, const LocalTime& time);

// Writes the script into the program's folder (or the per-user folder when the
// program's folder refuses it) and stores its path in `scriptPath`. False,
// writing nothing, when no script can be composed or the file is refused.
bool WriteDvtScript(RunServices& services, const DvtRunInputs& in, const LocalTime& time,
                    std::string* scriptPath);

// Writes the script, starts it without capture and waits until it has ended.
// True only when a run took place: false when no script was written or the
// script could not be started.
bool RunDvtTest(RunServices& services, const DvtRunInputs& in, const LocalTime& time);
