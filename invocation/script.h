// Batch scripts: how a tool's script is composed, written and run, and the
// tool run "run_dorvik.bat" with its capture log. Every value in a script
// keeps the one-argument rule (argument.h) and has its '%' doubled, so cmd
// hands it on unchanged; with delayed expansion off, '!' needs nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services.h"
#include "core/timestamp.h"
#include "invocation/toolcmdline.h"

// The lines that run `commandLine` (its '%' doubled here) followed by `tail`
// in the folder of `toolPath`, each ending in CR LF: the tool's drive letter
// and colon (empty for any other start of the path), "cd" to its folder as one
// argument ("cd D:\" for a drive alone), the command. cmd cannot make a
// network folder current: for one, "pushd" to it takes the drive line's place
// and "popd" follows the command, so the script keeps its count of lines.
// Nothing when the folder is empty, cannot be passed as one argument or is
// longer than a current folder may be (258 UTF-16 units), or when the command
// breaks a script line or is longer than one may be (8191); a script line is
// never cut or split.
std::optional<std::string> ToolFolderLines(const std::string& toolPath, const std::string& commandLine,
                                           const char* tail = "");

// The lines joined, each followed by CR LF.
std::string JoinScriptLines(const std::vector<std::string>& lines);

// The four lines of a tool run script: "REM " and the start time
// ("%Y.%m.%d. %H:%M"), then ToolFolderLines of `commandLine` (composed bare,
// ending with a blank) followed by "2>&1". Empty when `commandLine` is empty
// or ToolFolderLines gives nothing.
std::string ComposeToolRunScript(const std::string& toolPath, const std::string& commandLine,
                                 const LocalTime& start);

// A written script, held unchanged until its run has ended: in a folder
// others may write to, it could otherwise be swapped before cmd reads it.
struct HeldScript {
  std::string path;
  std::shared_ptr<FileHold> hold;  // null: no script to run
};

// Writes a script named `fileName`, encoded as cmd will read it
// (Environment::EncodeForBatch), into the program's folder or, when that
// refuses it, the per-user folder, then holds it (FileSystem::HoldUnchanged).
// A folder whose path holds a '%' is passed over: cmd would expand it in the
// start command. No hold, and nothing written, when the text cannot be
// encoded or no folder takes the file; no hold either when the file written
// has changed before it was held.
HeldScript WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                           const std::string& text);

// The command line that starts the script at `scriptPath`: cmd without AutoRun
// commands and with delayed expansion off, the script's path quoted.
std::string ScriptStartCommand(const std::string& scriptPath);

// Writes and holds `script` as `fileName` (WriteScriptFile), with `capture` empties the
// capture log (in the program's folder or, when that refuses it, the per-user
// folder; without either the run goes uncaptured), starts the script and
// waits for it. False when nothing was run: the tool file has gone since it
// was chosen, the script is empty or was not written, or it could not start.
bool RunScriptFile(RunServices& services, const std::string& toolPath, const std::string& fileName,
                   const std::string& script, bool capture);

extern const char* const kRunScriptName;   // "run_dorvik.bat"
extern const char* const kCaptureLogName;  // "Quintor_Log.txt"

// The tool run script: ComposeToolRunScript of the full command line.
std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start);
// Writes and runs it, its output captured with `debugCapture`.
bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture);

// Where the capture log is: in the per-user folder when a non-empty log is
// there (a run captured in the program's folder empties it), otherwise in the
// program's folder.
std::string CaptureLogPath(const RunServices& services);
// Opens `path` in the text viewer ("notepad.exe", the path quoted where
// needed) without waiting. False, and nothing started, when the file is
// missing or empty or its path cannot be passed.
bool ViewTextFile(RunServices& services, const std::string& path);
bool ViewCaptureLog(RunServices& services);
