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

// Names of the run script and the capture log.
extern const char* const kRunScriptName;   // "run_dorvik.bat"
extern const char* const kCaptureLogName;  // "Quintor_Log.txt"

// The four script lines, each ending in CR LF, for a run started at `start`:
// "REM " and the time, the tool's drive, "cd" to the tool's folder, and the
// full command line followed by "2>&1". Empty when no command line can be
// built or a value cannot be passed as one argument.
std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start);

// Writes the script into the program's folder (or, when that folder refuses
// it, the per-user folder). On success stores the script's path in
// `scriptPath` and returns true.
bool WriteRunScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                    std::string* scriptPath);

// Writes and runs the script and waits for it. With `debugCapture` its output
// goes to the capture log, emptied first; the log is written in the program's
// folder or, when that folder refuses it, in the per-user folder; when neither
// takes it the run goes ahead without capture. False when nothing was run: no
// command line, no script written, or the script could not be started.
bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture);

// Where the capture log is: "Quintor_Log.txt" in the per-user folder when a
// non-empty log is there (the last captured run was written there: a run
// captured in the program's folder empties it), otherwise in the program's
// folder.
std::string CaptureLogPath(const RunServices& services);

// Opens the capture log in the text viewer without waiting. Does nothing, and
// returns false, when the log is missing or empty or the viewer cannot start.
bool ViewCaptureLog(RunServices& services);
