// The command line of the flashing tool, composed from the main window's
// state, and the run history's lines.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/timestamp.h"

// One row of the download file list.
struct DownloadRow {
  bool checked = false;
  std::string folder;    // no trailing backslash for rows added with "Insert"
  std::string fileName;
};

// Everything the composer reads. A serial or command value is empty when its
// list has no selection.
struct ToolCommandInputs {
  std::string toolPath;
  std::optional<int32_t> port;
  std::optional<int32_t> baudRate;
  std::optional<int32_t> dataBits;
  std::optional<int32_t> stopBits;
  std::optional<int32_t> parity;
  std::optional<int32_t> command;
  std::vector<DownloadRow> rows;
  bool scs = false;
  bool jei = false;
  bool cw = false;
  std::string outputPath;
  bool debugPrint = true;
};

// Which pieces a composition writes.
struct CommandLineSelection {
  bool toolName = false;
  bool port = false;
  bool baudRate = false;
  bool dataBits = false;
  bool stopBits = false;
  bool parity = false;
  bool command = false;
  bool allArguments = false;         // every argument position
  std::vector<int> argumentPositions;  // used when allArguments is false
  bool fullPaths = false;
  bool output = false;
  bool debug = false;

  bool HasArgument(int position) const;

  // The script line: every piece, full paths.
  static CommandLineSelection Script();
};

// A selection of the given switches alone.
template <typename Selection>
Selection SelectionOf(std::initializer_list<bool Selection::*> switches) {
  Selection s;
  for (bool Selection::*on : switches) s.*on = true;
  return s;
}

// False for an empty tool path, for a command without selection, and for an
// empty download list under File Download, Irdeto Factory Program, Irdeto
// Factory Lock and Irdeto Dev Program.
bool CanBuildCommandLine(const ToolCommandInputs& in);

// The selected pieces, each ending in one blank; empty when no command line
// can be built, or when a value cannot be passed as one argument.
std::string BuildToolCommandLine(const ToolCommandInputs& in, const CommandLineSelection& sel);

// The run history's lines for one run: time stamp, serial group, command,
// argument positions 0 to 3, output and the separating blank, empty lines
// left out.
std::vector<std::string> ComposeRunHistoryLines(const ToolCommandInputs& in, const LocalTime& start);
