#include "invocation/script.h"

#include <algorithm>

#include "core/paths.h"
#include "core/text.h"
#include "invocation/argument.h"

namespace {

constexpr size_t kMaxCurrentFolderLength = 258;  // without the trailing backslash
constexpr size_t kMaxScriptLineLength = 8191;

bool IsDriveLetterAndColon(const std::string& text) {
  return text.size() == 2 && text[1] == ':' &&
         ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

std::string EscapeBatchPercent(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '%' ? "%%" : std::string(1, c);
  return out;
}

// The per-user folder, made only now that a file goes there; empty when unknown.
std::string UserFolderForWriting(FileSystem& fs, const Environment& env) {
  const std::string folder = env.UserDataFolder();
  if (!folder.empty()) fs.CreateFolder(folder.substr(0, folder.size() - 1));
  return folder;
}

std::string UserLogPath(const RunServices& services) {
  const std::string folder = services.env.UserDataFolder();
  return folder.empty() ? std::string() : folder + kCaptureLogName;
}

// Empties (or creates) the capture log where it can be written and returns
// its path; empty when no folder takes it.
std::string PrepareCaptureLog(RunServices& services) {
  const std::string programLog = GetModuleFolder(services.env) + kCaptureLogName;
  const std::string userLog = UserLogPath(services);
  if (services.fs.WriteFileBytes(programLog, std::string())) {
    // An older log in the per-user folder would be taken for this one.
    if (!userLog.empty() && GetFileSizeOrZero(services.fs, userLog) > 0) {
      services.fs.WriteFileBytes(userLog, std::string());
    }
    return programLog;
  }
  UserFolderForWriting(services.fs, services.env);
  return !userLog.empty() && services.fs.WriteFileBytes(userLog, std::string()) ? userLog : std::string();
}

}  // namespace

std::optional<std::string> ToolFolderLines(const std::string& toolPath, const std::string& commandLine,
                                           const char* tail) {
  const std::string command = EscapeBatchPercent(commandLine) + tail;
  if (std::any_of(command.begin(), command.end(), BreaksScriptLine)) return std::nullopt;
  if (Utf8ToUtf16(command).size() > kMaxScriptLineLength) return std::nullopt;
  const std::string folder = GetPathFolder(toolPath);
  if (Utf8ToUtf16(folder).size() > kMaxCurrentFolderLength) return std::nullopt;
  if (folder.compare(0, 2, "\\\\") == 0) {
    const std::optional<std::string> arg = FormatArgument(folder);
    if (!arg) return std::nullopt;
    return JoinScriptLines({"pushd " + EscapeBatchPercent(*arg), command, "popd"});
  }
  // "cd D:" would not change the folder: a drive alone gets its root.
  const std::optional<std::string> arg = FormatArgument(IsDriveLetterAndColon(folder) ? folder + "\\" : folder);
  if (folder.empty() || !arg) return std::nullopt;
  // The drive line only for a real drive, so no other text is run as a command.
  const std::string drive = GetPathDrive(toolPath);
  return JoinScriptLines({IsDriveLetterAndColon(drive) ? drive : "", "cd " + EscapeBatchPercent(*arg), command});
}

std::string JoinScriptLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ComposeToolRunScript(const std::string& toolPath, const std::string& commandLine,
                                 const LocalTime& start) {
  if (commandLine.empty()) return {};
  const std::optional<std::string> run = ToolFolderLines(toolPath, commandLine, "2>&1");
  return run ? "REM " + FormatTime(start, "%Y.%m.%d. %H:%M") + "\r\n" + *run : std::string();
}

HeldScript WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                           const std::string& text) {
  HeldScript script;
  const std::optional<std::string> bytes = env.EncodeForBatch(text);
  if (!bytes) return script;
  const auto writeInto = [&](const std::string& folder) {
    if (folder.empty() || folder.find('%') != std::string::npos) return false;
    script.path = folder + fileName;
    return fs.WriteFileBytes(script.path, *bytes);
  };
  // Written is not enough: a script changed since is not run at all.
  if (writeInto(GetModuleFolder(env)) || writeInto(UserFolderForWriting(fs, env))) {
    script.hold = fs.HoldUnchanged(script.path, *bytes);
  }
  return script;
}

std::string ScriptStartCommand(const std::string& scriptPath) {
  // With /s, cmd removes the outer pair of quotes and keeps the rest as it
  // stands, so the quoted path may hold blanks, '&', '^' and parentheses.
  return "cmd.exe /d /v:off /s /c \"\"" + scriptPath + "\"\"";
}

const char* const kRunScriptName = "run_dorvik.bat";
const char* const kCaptureLogName = "Quintor_Log.txt";

bool RunScriptFile(RunServices& services, const std::string& toolPath, const std::string& fileName,
                   const std::string& script, bool capture) {
  // A tool file that has gone since it was chosen cannot run: the script
  // would only report that cmd does not know it, and the history would claim
  // a run.
  if (GetFileSizeOrZero(services.fs, toolPath) == 0 || script.empty()) return false;
  const HeldScript written = WriteScriptFile(services.fs, services.env, fileName, script);
  if (!written.hold) return false;
  const std::string capturePath = capture ? PrepareCaptureLog(services) : std::string();
  return services.launcher.RunAndWait(ScriptStartCommand(written.path), capturePath);
}

std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start) {
  return ComposeToolRunScript(in.toolPath, BuildToolCommandLine(in, CommandLineSelection::Script()), start);
}

bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture) {
  return RunScriptFile(services, in.toolPath, kRunScriptName, ComposeRunScript(in, start), debugCapture);
}

std::string CaptureLogPath(const RunServices& services) {
  const std::string userLog = UserLogPath(services);
  if (!userLog.empty() && GetFileSizeOrZero(services.fs, userLog) > 0) return userLog;
  return GetModuleFolder(services.env) + kCaptureLogName;
}

bool ViewTextFile(RunServices& services, const std::string& path) {
  const std::optional<std::string> arg = FormatArgument(path);
  if (GetFileSizeOrZero(services.fs, path) == 0 || !arg) return false;
  return services.launcher.StartDetached("notepad.exe " + *arg);
}

bool ViewCaptureLog(RunServices& services) { return ViewTextFile(services, CaptureLogPath(services)); }
