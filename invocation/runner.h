// The run script "run_dorvik.bat" and its runner.
#pragma once

#include <string>

#include "core/services.h"
#include "core/timestamp.h"
#include "invocation/toolcmdline.h"

// The services a run uses.
struct RunServices {
  FileSystem& fs;
  ProcessLauncher& launcher;
  const Environment& env;
};

// The four script lines, each ending in CR LF, for a run started at `start`;
// empty when no command line can be built.
std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start);

// Writes the script into the program's folder (or, when that folder refuses
// it, the per-user folder). On success stores the script's path in
// `scriptPath` and returns true.
bool WriteRunScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                    std::string* scriptPath);

// Writes and runs the script and waits for it. With `debugCapture` its output
// goes to the capture log (emptied first). False when nothing was run: no
// command line, no script written, or the script could not be started.
bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture);

// Where the capture log is: "Quintor_Log.txt" in the program's folder, or in
// the per-user folder when the log was last written there.
std::string CaptureLogPath(const RunServices& services);

// Opens the capture log in the text viewer without waiting; does nothing when
// the log is missing or empty.
void ViewCaptureLog(RunServices& services);
