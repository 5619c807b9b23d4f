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

std::optional<std::string> FormatArgument(const std::string& value, bool alwaysQuoted) {
  for (const char c : value) {
    const unsigned char u = static_cast<unsigned char>(c);
    // A quote would end cmd's quoted stretch and expose the rest of the value;
    // a line break would end the script line.
    if (c == '"' || (u < 0x20 && c != '\t') || u == 0x7F) return std::nullopt;
  }
  if (!alwaysQuoted && IsBareArgument(value)) return value;
  std::string quoted = "\"" + value;
  // Backslashes in front of the closing quote must be doubled, or the last one
  // escapes it.
  size_t trailing = 0;
  while (trailing < value.size() && value[value.size() - 1 - trailing] == '\\') ++trailing;
  quoted.append(trailing, '\\');
  quoted += '"';
  return quoted;
}
