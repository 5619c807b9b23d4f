#include "invocation/toolcmdline.h"

#include <algorithm>

#include "core/options.h"
#include "core/paths.h"
#include "invocation/argument.h"

bool CommandLineSelection::HasArgument(int position) const {
  return allArguments || std::find(argumentPositions.begin(), argumentPositions.end(), position) !=
                             argumentPositions.end();
}

CommandLineSelection CommandLineSelection::Script() {
  CommandLineSelection s;
  s.toolName = s.port = s.baudRate = s.dataBits = s.stopBits = s.parity = s.command = true;
  s.allArguments = s.fullPaths = s.output = s.debug = true;
  return s;
}

CommandLineSelection CommandLineSelection::SerialGroup() {
  CommandLineSelection s;
  s.toolName = s.port = s.baudRate = s.dataBits = s.stopBits = s.parity = s.debug = true;
  return s;
}

CommandLineSelection CommandLineSelection::CommandGroup() {
  CommandLineSelection s;
  s.command = true;
  return s;
}

CommandLineSelection CommandLineSelection::ArgumentGroup(int position) {
  CommandLineSelection s;
  s.argumentPositions.push_back(position);
  return s;
}

CommandLineSelection CommandLineSelection::OutputGroup() {
  CommandLineSelection s;
  s.output = true;
  return s;
}

namespace {

// The tool's baud-rate number piece ("-b 0 " to "-b 7 "), empty for a rate
// outside the table.
std::string BaudRatePiece(std::optional<int32_t> baudRate) {
  if (!baudRate) return {};
  for (int i = 0; i < kBaudRateOptionCount; ++i) {
    if (BaudRateOptions[i].value == *baudRate) return "-b " + std::to_string(i) + " ";
  }
  return {};
}

std::string CodePiece(const char* flag, std::optional<int32_t> code) {
  if (!code || *code < 0 || *code > 2) return {};
  return std::string(flag) + std::to_string(*code) + " ";
}

// Appends `value` as one argument and a blank; false when it cannot be passed.
bool AppendArgument(std::string& line, const std::string& value) {
  const std::optional<std::string> formatted = FormatArgument(value);
  if (!formatted) return false;
  line += *formatted;
  line += ' ';
  return true;
}

std::string LockOptionsText(const ToolCommandInputs& in) {
  std::string text;
  const auto add = [&text](bool on, const char* name) {
    if (!on) return;
    if (!text.empty()) text += '|';
    text += name;
  };
  add(in.scs, "SCS");
  add(in.jei, "JEI");
  add(in.cw, "CW");
  return text;
}

// "-cmd ... " for a command code; empty for File Download and unknown codes.
std::string CommandPiece(int32_t code) {
  switch (code) {
    case kCmdIrdetoFactoryProgram: return "-cmd irdeto_factory_program ";
    case kCmdIrdetoFactoryLock: return "-cmd irdeto_factory_lock ";
    case kCmdIrdetoSecureLock: return "-cmd irdeto_secure_lock ";
    case kCmdIrdetoSecureCheck: return "-cmd irdeto_secure_check ";
    case kCmdIrdetoLoaderStatus: return "-cmd irdeto_loader_status ";
    case kCmdIrdetoDevProgram: return "-cmd irdeto_dev_program ";
    case kCmdHdcpDownload: return "-cmd irdeto_hdcp ";
    default: return {};
  }
}

}  // namespace

bool CanBuildCommandLine(const ToolCommandInputs& in) {
  if (in.toolPath.empty() || !in.command) return false;
  switch (*in.command) {
    case kCmdFileDownload:
    case kCmdIrdetoFactoryProgram:
    case kCmdIrdetoFactoryLock:
    case kCmdIrdetoDevProgram:
      return !in.rows.empty();
    default:
      return true;
  }
}

std::string BuildToolCommandLine(const ToolCommandInputs& in, const CommandLineSelection& sel) {
  if (!CanBuildCommandLine(in)) return {};
  const int32_t code = *in.command;
  std::string line;

  if (sel.toolName && !AppendArgument(line, GetPathFileName(in.toolPath))) return {};
  if (sel.port && in.port) line += "-c " + std::to_string(*in.port) + " ";
  if (sel.baudRate) line += BaudRatePiece(in.baudRate);
  if (sel.dataBits && in.dataBits) line += "-n " + std::to_string(*in.dataBits) + " ";
  if (sel.stopBits) line += CodePiece("-s ", in.stopBits);
  if (sel.parity) line += CodePiece("-p ", in.parity);
  if (sel.command) line += CommandPiece(code);

  // Checked rows take consecutive positions; unchecked rows take none.
  int k = 0;
  for (const DownloadRow& row : in.rows) {
    if (!row.checked) continue;
    if (sel.HasArgument(k)) {
      if (code != kCmdFileDownload) line += "-arg" + std::to_string(k) + " ";
      const std::string value = sel.fullPaths ? row.folder + "\\" + row.fileName : row.fileName;
      if (!AppendArgument(line, value)) return {};
    }
    ++k;
    if (code == kCmdFileDownload) break;
  }

  // Written even with no box checked, as an empty quoted argument.
  if (sel.HasArgument(k) && IsLockCommand(code)) {
    line += "-arg" + std::to_string(k) + " \"" + LockOptionsText(in) + "\" ";
  }

  if (sel.output && !in.outputPath.empty()) {
    line += "-output ";
    if (!AppendArgument(line, sel.fullPaths ? in.outputPath : GetPathFileName(in.outputPath))) return {};
  }
  if (sel.debug && in.debugPrint) line += "-d ";
  return line;
}

std::vector<std::string> ComposeRunHistoryLines(const ToolCommandInputs& in, const LocalTime& start) {
  std::vector<std::string> candidates = {FormatTime(start, "[%Y.%m.%d. %H:%M]"),
                                         BuildToolCommandLine(in, CommandLineSelection::SerialGroup()),
                                         BuildToolCommandLine(in, CommandLineSelection::CommandGroup())};
  for (int position = 0; position < 4; ++position) {
    candidates.push_back(BuildToolCommandLine(in, CommandLineSelection::ArgumentGroup(position)));
  }
  candidates.push_back(BuildToolCommandLine(in, CommandLineSelection::OutputGroup()));
  candidates.push_back(" ");

  std::vector<std::string> lines;
  for (std::string& text : candidates) {
    if (!text.empty()) lines.push_back(std::move(text));
  }
  return lines;
}
