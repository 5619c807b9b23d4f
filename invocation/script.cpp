#include "invocation/script.h"

#include "core/paths.h"
#include "invocation/argument.h"

namespace {

bool IsDriveLetterAndColon(const std::string& text) {
  return text.size() == 2 && text[1] == ':' &&
         ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

}  // namespace

std::string EscapeBatchPercent(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string ChangeDriveLine(const std::string& path) {
  const std::string drive = GetPathDrive(path);
  return IsDriveLetterAndColon(drive) ? drive : std::string();
}

std::optional<std::string> ChangeFolderLine(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const std::optional<std::string> arg = FormatArgument(IsDriveLetterAndColon(folder) ? folder + "\\" : folder);
  if (!arg) return std::nullopt;
  return "cd " + EscapeBatchPercent(*arg);
}

std::string JoinScriptLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string ComposeToolRunScript(const std::string& toolPath, const std::string& commandLine,
                                 const LocalTime& start) {
  if (commandLine.empty()) return {};
  const std::optional<std::string> cd = ChangeFolderLine(GetPathFolder(toolPath));
  if (!cd) return {};
  return JoinScriptLines({"REM " + FormatTime(start, "%Y.%m.%d. %H:%M"), ChangeDriveLine(toolPath), *cd,
                          EscapeBatchPercent(commandLine) + "2>&1"});
}

bool WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                     const std::string& text, std::string* path) {
  const std::optional<std::string> bytes = env.EncodeForBatch(text);
  if (!bytes) return false;
  for (const std::string& folder : {GetModuleFolder(env), env.UserDataFolder()}) {
    if (folder.empty() || folder.find('%') != std::string::npos) continue;
    const std::string candidate = folder + fileName;
    if (fs.WriteFileBytes(candidate, *bytes)) {
      if (path != nullptr) *path = candidate;
      return true;
    }
  }
  return false;
}

std::string ScriptStartCommand(const std::string& scriptPath) {
  // With /s, cmd removes the outer pair of quotes and keeps the rest as it
  // stands, so the quoted path may hold blanks, '&', '^' and parentheses.
  return "cmd.exe /d /v:off /s /c \"\"" + scriptPath + "\"\"";
}

std::string TextViewerCommand(const std::string& path) {
  const std::optional<std::string> arg = FormatArgument(path);
  return arg ? "notepad.exe " + *arg : std::string();
}
