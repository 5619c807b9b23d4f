#include "invocation/runner.h"

#include "core/paths.h"
#include "invocation/script.h"

const char* const kRunScriptName = "run_dorvik.bat";
const char* const kCaptureLogName = "Quintor_Log.txt";

namespace {

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
  const std::string userFolder = UserFolderForWriting(services.fs, services.env);
  if (!userFolder.empty() && services.fs.WriteFileBytes(userFolder + kCaptureLogName, std::string())) {
    return userFolder + kCaptureLogName;
  }
  return std::string();
}

}  // namespace

std::string ComposeRunScript(const ToolCommandInputs& in, const LocalTime& start) {
  if (!CanBuildCommandLine(in)) return {};
  return ComposeToolRunScript(in.toolPath, BuildToolCommandLine(in, CommandLineSelection::Script()), start);
}

bool WriteRunScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                    std::string* scriptPath) {
  const std::string script = ComposeRunScript(in, start);
  if (script.empty()) return false;
  return WriteScriptFile(services.fs, services.env, kRunScriptName, script, scriptPath);
}

bool RunToolScript(RunServices& services, const ToolCommandInputs& in, const LocalTime& start,
                   bool debugCapture) {
  // A tool file that has gone since it was chosen cannot run: the script
  // would only report that cmd does not know it, and the history would claim
  // a run.
  if (GetFileSizeOrZero(services.fs, in.toolPath) == 0) return false;
  std::string scriptPath;
  if (!WriteRunScript(services, in, start, &scriptPath)) return false;
  const std::string capturePath = debugCapture ? PrepareCaptureLog(services) : std::string();
  return services.launcher.RunAndWait(ScriptStartCommand(scriptPath), capturePath);
}

std::string CaptureLogPath(const RunServices& services) {
  const std::string userLog = UserLogPath(services);
  if (!userLog.empty() && GetFileSizeOrZero(services.fs, userLog) > 0) return userLog;
  return GetModuleFolder(services.env) + kCaptureLogName;
}

bool ViewCaptureLog(RunServices& services) {
  const std::string log = CaptureLogPath(services);
  if (GetFileSizeOrZero(services.fs, log) == 0) return false;
  const std::string command = TextViewerCommand(log);
  if (command.empty()) return false;
  return services.launcher.StartDetached(command);
}
