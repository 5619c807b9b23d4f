// Batch scripts: the pieces every run script is made of, how a script is
// written and run, and the tool run "run_dorvik.bat" with its capture log.
//
// Every value in a script keeps the one-argument rule (argument.h): it is
// quoted where needed and its '%' doubled, so cmd hands it on unchanged. The
// script is started with delayed expansion off, so '!' needs nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/services.h"
#include "core/timestamp.h"
#include "invocation/toolcmdline.h"

// Doubles every '%', so cmd passes the text through a batch file unchanged.
std::string EscapeBatchPercent(const std::string& text);

// The longest folder cmd can make current, in UTF-16 units (without the
// trailing backslash).
constexpr size_t kMaxCurrentFolderLength = 258;

// The lines that run `commandText` (as the script carries it, '%' already
// doubled) in the folder of `toolPath`: the tool's drive letter and colon
// (empty for any other start of the path), "cd" to its folder as one
// argument ("cd D:\" for a drive alone), the command. cmd cannot make a
// network folder current: for one, "pushd" to it takes the drive line's
// place and "popd" follows the command, so the script keeps its count of
// lines. Nothing when the folder is empty, cannot be passed as one argument
// or is longer than a current folder may be, or when the command holds a
// control character other than a tab or is longer than a script line may be
// (8191); a script line is never cut or split.
std::optional<std::vector<std::string>> ToolFolderLines(const std::string& toolPath, const std::string& commandText);

// The lines joined, each followed by CR LF.
std::string JoinScriptLines(const std::vector<std::string>& lines);

// The four lines of a tool run script, each ending in CR LF: "REM " and the
// start time ("%Y.%m.%d. %H:%M"), the tool's drive, "cd" to the tool's folder,
// and `commandLine` (composed bare, ending with a blank; its '%' are doubled
// here) followed by "2>&1"; for a network folder as ToolFolderLines has it.
// Empty when `commandLine` is empty or ToolFolderLines gives nothing.
std::string ComposeToolRunScript(const std::string& toolPath, const std::string& commandLine,
                                 const LocalTime& start);

// Writes a script (UTF-8 text as composed) named `fileName` into the program's
// folder or, when that folder refuses it, into the per-user folder, encoded
// the way the command interpreter will read it (Environment::EncodeForBatch).
// A folder whose path holds a '%' is passed over, since cmd would expand it
// in the start command. False, and nothing written, when the text cannot be
// encoded or no folder takes the file. On success stores the path written in
// `path`.
bool WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                     const std::string& text, std::string* path);

// The command line that starts the script at `scriptPath`: the command
// interpreter without AutoRun commands and with delayed expansion off, the
// script's path quoted.
std::string ScriptStartCommand(const std::string& scriptPath);

// Runs a tool through the script `fileName` holding `script`: writes it
// (WriteScriptFile), with `capture` empties the capture log (in the program's
// folder or, when that folder refuses it, the per-user folder; without either
// the run goes ahead uncaptured), starts the script and waits for it. False
// when nothing was run: the tool file has gone since it was chosen, the
// script is empty or was not written, or it could not be started.
bool RunScriptFile(RunServices& services, const std::string& toolPath, const std::string& fileName,
                   const std::string& script, bool capture);

extern const char* const kRunScriptName;   // "run_dorvik.bat"
extern const char* const kCaptureLogName;  // "Quintor_Log.txt"

// The tool run script: ComposeToolRunScript of the full command line; empty
// when no command line can be built.
std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start);
// Writes it as WriteScriptFile does and stores its path in `scriptPath`.
bool WriteRunScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                    std::string* scriptPath);
// Writes and runs it through RunScriptFile, its output captured with
// `debugCapture`.
bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture);

// Where the capture log is: in the per-user folder when a non-empty log is
// there (the last captured run was written there: a run captured in the
// program's folder empties it), otherwise in the program's folder.
std::string CaptureLogPath(const RunServices& services);
// Opens `path` in the text viewer ("notepad.exe", the path quoted where
// needed) without waiting. Does nothing, and returns false, when the file is
// missing or empty, its path cannot be passed or the viewer cannot start.
bool ViewTextFile(RunServices& services, const std::string& path);
// ViewTextFile of the capture log.
bool ViewCaptureLog(RunServices& services);
