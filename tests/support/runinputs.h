// Inputs and script reading shared by the tests of the run scripts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/options.h"
#include "invocation/toolcmdline.h"

// A File Download of one checked row on COM1, 115200, 8 bit, stop 0, parity 0.
inline ToolCommandInputs FileDownloadInputs(const std::string& toolPath, const std::string& folder,
                                            const std::string& file) {
  return {toolPath, 1, 115200, 8, 0, 0, kCmdFileDownload, {{true, folder, file}}, false, false, false, "", true};
}

// The lines of a script, each of which must end in CR LF.
inline std::vector<std::string> ScriptLines(const std::string& script) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = script.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(script.substr(start, end - start));
  EXPECT_EQ(script.size(), start) << "text after the last CR LF";
  return lines;
}
