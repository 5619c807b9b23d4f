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
  using S = CommandLineSelection;
  return SelectionOf<S>({&S::toolName, &S::port, &S::baudRate, &S::dataBits, &S::stopBits, &S::parity, &S::command,
                         &S::allArguments, &S::fullPaths, &S::output, &S::debug});
}

namespace {

// `flag`, the number and a blank; empty without a number or for one outside
// `low` to `high`.
std::string NumberPiece(const char* flag, std::optional<int32_t> n, int32_t low = INT32_MIN,
                        int32_t high = INT32_MAX) {
  if (!n || *n < low || *n > high) return {};
  return flag + std::to_string(*n) + " ";
}

// The tool's number of a baud rate: the rate's row in the baud-rate list.
std::optional<int32_t> BaudRateNumber(std::optional<int32_t> baudRate) {
  for (int i = 0; baudRate && i < kBaudRateOptionCount; ++i) {
    if (BaudRateOptions[i].value == *baudRate) return i;
  }
  return std::nullopt;
}

// Appends `value` as one argument and a blank; false when it cannot be passed.
bool AppendArgument(std::string& line, const std::string& value) {
  const std::optional<std::string> formatted = FormatArgument(value);
  if (formatted) line += *formatted + " ";
  return formatted.has_value();
}

std::string LockOptionsText(const ToolCommandInputs& in) {
  const std::pair<bool, const char*> boxes[] = {{in.scs, "SCS"}, {in.jei, "JEI"}, {in.cw, "CW"}};
  std::string text;
  for (const auto& [on, name] : boxes) {
    if (on) text += (text.empty() ? "" : "|") + std::string(name);
  }
  return text;
}

// "-cmd ... " for a command code; empty for File Download and unknown codes.
std::string CommandPiece(int32_t code) {
  static const char* const names[] = {"", "irdeto_factory_program", "irdeto_factory_lock", "irdeto_secure_lock",
                                      "irdeto_secure_check", "irdeto_loader_status", "irdeto_dev_program",
                                      "irdeto_hdcp"};
  if (code <= kCmdFileDownload || code > kCmdHdcpDownload) return {};
  return std::string("-cmd ") + names[code] + " ";
}

}  // namespace

bool CanBuildCommandLine(const ToolCommandInputs& in) {
  if (in.toolPath.empty() || !in.command) return false;
  const int32_t c = *in.command;
  const bool sendsImages = c == kCmdFileDownload || c == kCmdIrdetoFactoryProgram || c == kCmdIrdetoFactoryLock ||
                           c == kCmdIrdetoDevProgram;
  return !sendsImages || !in.rows.empty();
}

std::string BuildToolCommandLine(const ToolCommandInputs& in, const CommandLineSelection& sel) {
  if (!CanBuildCommandLine(in)) return {};
  const int32_t code = *in.command;
  std::string line;

  if (sel.toolName && !AppendArgument(line, GetPathFileName(in.toolPath))) return {};
  if (sel.port) line += NumberPiece("-c ", in.port);
  if (sel.baudRate) line += NumberPiece("-b ", BaudRateNumber(in.baudRate));
  if (sel.dataBits) line += NumberPiece("-n ", in.dataBits);
  if (sel.stopBits) line += NumberPiece("-s ", in.stopBits, 0, 2);
  if (sel.parity) line += NumberPiece("-p ", in.parity, 0, 2);
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
  using S = CommandLineSelection;
  std::vector<std::string> candidates = {
      FormatTime(start, "[%Y.%m.%d. %H:%M]"),
      BuildToolCommandLine(in, SelectionOf<S>({&S::toolName, &S::port, &S::baudRate, &S::dataBits, &S::stopBits,
                                               &S::parity, &S::debug})),
      BuildToolCommandLine(in, SelectionOf<S>({&S::command}))};
  for (int position = 0; position < 4; ++position) {
    S argument;
    argument.argumentPositions = {position};
    candidates.push_back(BuildToolCommandLine(in, argument));
  }
  candidates.push_back(BuildToolCommandLine(in, SelectionOf<S>({&S::output})));
  candidates.push_back(" ");

  std::vector<std::string> lines;
  for (std::string& text : candidates) {
    if (!text.empty()) lines.push_back(std::move(text));
  }
  return lines;
}
