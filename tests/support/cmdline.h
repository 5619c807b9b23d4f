// The oracle for command lines: how the tools' own start-up code splits one,
// by the rules of the Microsoft C runtime.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

// 2n backslashes before a quote give n, 2n+1 give n and the quote; "" inside
// quotes is a literal quote.
inline std::vector<std::string> SplitWindowsCommandLine(const std::string& line) {
  std::vector<std::string> args;
  for (size_t i = line.find_first_not_of(" \t"); i < line.size(); i = line.find_first_not_of(" \t", i)) {
    std::string arg;
    for (bool quoted = false; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'));) {
      const size_t slashes = std::min(line.find_first_not_of('\\', i), line.size()) - i;
      if (slashes > 0 && i + slashes < line.size() && line[i + slashes] == '"') {
        arg.append(slashes / 2, '\\') += slashes % 2 ? "\"" : "";
        i += slashes + slashes % 2;
      } else if (slashes > 0) {
        arg.append(slashes, '\\'), i += slashes;
      } else if (line[i] == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
        arg += '"', i += 2;
      } else if (line[i] == '"') {
        quoted = !quoted, ++i;
      } else {
        arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}
