#include "bbcb/bbcbcommand.h"

#include "core/paths.h"
#include "invocation/argument.h"

namespace {

// `value` as one argument followed by `tail`; empty when it cannot be passed.
std::string Piece(const char* flag, const std::string& value, const char* tail) {
  const std::optional<std::string> formatted = FormatArgument(value);
  if (!formatted) return {};
  return flag + *formatted + tail;
}

// The manufacturer S/N is always written between double quotes, even when it
// could stand bare; a trailing backslash is doubled so the closing quote stays
// a quote.
std::string ManufacturerSnPiece(const std::string& value) {
  if (!FormatArgument(value)) return {};
  size_t trailing = 0;
  while (trailing < value.size() && value[value.size() - 1 - trailing] == '\\') ++trailing;
  return "-manufacturer_sn \"" + value + std::string(trailing, '\\') + "\" ";
}

}  // namespace

BbcbCommandSelection BbcbCommandSelection::All() {
  BbcbCommandSelection s;
  s.toolName = s.config = s.serialNumber = s.rn = s.manufacturerSn = s.output = true;
  return s;
}

bool HasBbcbRequiredValues(const BbcbInputs& in) {
  return !in.toolPath.empty() && !in.configPath.empty() && !in.outputFolder.empty() &&
         !in.serialNumber.empty() && !in.rn.empty() && !in.manufacturerSn.empty();
}

std::string BbcbConfigPiece(const std::string& configValue) { return Piece("-config ", configValue, " "); }

std::string BbcbOutputPiece(const std::string& outputValue) { return Piece("-output ", outputValue, ""); }

std::string BuildBbcbCommandLine(const BbcbInputs& in, const std::string& stampedFolder,
                                 const BbcbCommandSelection& sel) {
  const std::string toolName = GetPathFileName(in.toolPath);
  if (!HasBbcbRequiredValues(in) || toolName.empty()) return {};
  // Every piece is composed, selected or not, so a value that cannot be passed
  // refuses every composition alike.
  const std::string pieces[] = {
      Piece("", toolName, " "),
      BbcbConfigPiece(in.configPath),
      Piece("-sn ", in.serialNumber, " "),
      Piece("-rn ", in.rn, " "),
      ManufacturerSnPiece(in.manufacturerSn),
      BbcbOutputPiece(BbcbImagePath(stampedFolder)),
  };
  const bool selected[] = {sel.toolName, sel.config, sel.serialNumber, sel.rn, sel.manufacturerSn, sel.output};
  std::string line;
  for (size_t i = 0; i < 6; ++i) {
    if (pieces[i].empty()) return {};
    if (selected[i]) line += pieces[i];
  }
  return line;
}

std::string BbcbStamp(const LocalTime& start) { return FormatTime(start, "%Y%m%d_%p%H%M"); }

std::string BbcbStampedFolder(const std::string& outputFolder, const LocalTime& start, int n) {
  std::string folder = outputFolder + "\\" + BbcbStamp(start);
  if (n >= 2) folder += "_" + std::to_string(n);
  return folder;
}

std::string BbcbImagePath(const std::string& stampedFolder) { return stampedFolder + "\\bbcb.bin"; }
