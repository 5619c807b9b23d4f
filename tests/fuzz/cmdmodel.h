// How cmd reads one line of a batch script, as far as the composers rely on
// it: "%%" gives "%", a single '%' would start a variable; '"' toggles a
// quoted stretch, and outside one & | < > ^ are cmd's own.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The line as the program it starts receives it; nothing when a value could
// reach cmd itself.
inline std::optional<std::string> CmdReadsLine(const std::string& line) {
  std::string out;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\r' || c == '\n' || c == '\0') return std::nullopt;
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == '&' || c == '|' || c == '<' || c == '>' || c == '^')) return std::nullopt;
    if (c == '%') {
      if (i + 1 >= line.size() || line[i + 1] != '%') return std::nullopt;
      ++i;
    }
    out += c;
  }
  if (quoted) return std::nullopt;
  return out;
}

// The script's lines; nothing unless every line ends in CR LF and holds no
// other CR or LF.
inline std::optional<std::vector<std::string>> ScriptLines(const std::string& script) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < script.size()) {
    const size_t end = script.find("\r\n", start);
    if (end == std::string::npos) return std::nullopt;
    const std::string line = script.substr(start, end - start);
    if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

// Strips `suffix` from the end of `line`; false when it does not end so.
inline bool StripSuffix(std::string& line, const std::string& suffix) {
  if (line.size() < suffix.size() || line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  line.resize(line.size() - suffix.size());
  return true;
}
