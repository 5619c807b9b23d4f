#include "invocation/script.h"

#include "core/paths.h"
#include "core/text.h"
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

std::optional<std::vector<std::string>> ToolFolderLines(const std::string& toolPath, const std::string& commandText) {
  for (const char c : commandText) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) return std::nullopt;
  }
  if (Utf8ToUtf16(commandText).size() > kMaxScriptLineLength) return std::nullopt;
  const std::string folder = GetPathFolder(toolPath);
  if (Utf8ToUtf16(folder).size() > kMaxCurrentFolderLength) return std::nullopt;
  if (folder.compare(0, 2, "\\\\") == 0) {
    const std::optional<std::string> arg = FormatArgument(folder);
    if (!arg) return std::nullopt;
    return std::vector<std::string>{"pushd " + EscapeBatchPercent(*arg), commandText, "popd"};
  }
  const std::optional<std::string> cd = ChangeFolderLine(folder);
  if (!cd) return std::nullopt;
  return std::vector<std::string>{ChangeDriveLine(toolPath), *cd, commandText};
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
  const std::optional<std::vector<std::string>> run =
      ToolFolderLines(toolPath, EscapeBatchPercent(commandLine) + "2>&1");
  if (!run) return {};
  std::vector<std::string> lines = {"REM " + FormatTime(start, "%Y.%m.%d. %H:%M")};
  lines.insert(lines.end(), run->begin(), run->end());
  return JoinScriptLines(lines);
}

bool WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                     const std::string& text, std::string* path) {
  const std::optional<std::string> bytes = env.EncodeForBatch(text);
  if (!bytes) return false;
  const auto writeInto = [&](const std::string& folder) {
    if (folder.empty() || folder.find('%') != std::string::npos) return false;
    const std::string candidate = folder + fileName;
    if (!fs.WriteFileBytes(candidate, *bytes)) return false;
    if (path != nullptr) *path = candidate;
    return true;
  };
  return writeInto(GetModuleFolder(env)) || writeInto(UserFolderForWriting(fs, env));
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
