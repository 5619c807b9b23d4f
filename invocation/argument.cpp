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

std::vector<std::string> SplitWindowsCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool inQuotes = false;
    while (i < n) {
      const char c = line[i];
      if (!inQuotes && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\') ++slashes, ++i;
        if (i < n && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (inQuotes && i + 1 < n && line[i + 1] == '"') {
          // "" inside quotes is a literal quote (post-2008 runtime rule).
          arg += '"';
          i += 2;
          continue;
        }
        inQuotes = !inQuotes;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}
