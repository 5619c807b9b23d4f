#include "invocation/argument.h"

namespace {

bool IsBareArgument(const std::string& value) {
  if (value.empty()) return false;
  for (const char c : value) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '\\' || c == ':' || c == '.' || c == '_' || c == '-' || c == '~';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool BreaksScriptLine(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u < 0x20 && c != '\t') || u == 0x7F;
}

std::optional<std::string> FormatArgument(const std::string& value, bool alwaysQuoted) {
  for (const char c : value) {
    // A quote would end cmd's quoted stretch and expose the rest of the value.
    if (c == '"' || BreaksScriptLine(c)) return std::nullopt;
  }
  if (!alwaysQuoted && IsBareArgument(value)) return value;
  // Backslashes in front of the closing quote are doubled, or the last one
  // would escape it (npos + 1 is 0: a value of backslashes only).
  const size_t trailing = value.size() - (value.find_last_not_of('\\') + 1);
  return "\"" + value + std::string(trailing, '\\') + "\"";
}
