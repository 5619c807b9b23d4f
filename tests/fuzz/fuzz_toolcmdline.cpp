// Whatever the operator's values, the composed script line passes each of
// them as exactly one argument, or no line is composed at all.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/options.h"
#include "core/paths.h"
#include "invocation/argument.h"
#include "invocation/toolcmdline.h"
#include "tests/support/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);
  ToolCommandInputs in;
  in.toolPath = fdp.ConsumeRandomLengthString(64);
  in.port = fdp.ConsumeIntegralInRange<int32_t>(0, 10);
  in.baudRate = 115200;
  in.dataBits = 8;
  in.stopBits = 0;
  in.parity = 0;
  in.command = kCmdIrdetoFactoryProgram;
  const int rows = fdp.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < rows; ++i) {
    in.rows.push_back({true, fdp.ConsumeRandomLengthString(40), fdp.ConsumeRandomLengthString(20)});
  }
  in.outputPath = fdp.ConsumeRandomLengthString(40);
  in.debugPrint = false;

  const std::string line = BuildToolCommandLine(in, CommandLineSelection::Script());
  std::vector<std::string> values = {GetPathFileName(in.toolPath)};
  for (const DownloadRow& row : in.rows) values.push_back(row.folder + "\\" + row.fileName);
  if (!in.outputPath.empty()) values.push_back(in.outputPath);

  bool passable = !in.toolPath.empty() && !in.rows.empty();
  for (const std::string& v : values) passable = passable && FormatArgument(v).has_value();
  if (!passable) {
    if (!line.empty()) std::abort();
    return 0;
  }
  const std::vector<std::string> args = SplitWindowsCommandLine(line);
  std::vector<std::string> expected = {values[0], "-c", std::to_string(*in.port), "-b", "7", "-n", "8", "-s", "0",
                                       "-p", "0", "-cmd", "irdeto_factory_program"};
  for (size_t i = 0; i < in.rows.size(); ++i) {
    expected.push_back("-arg" + std::to_string(i));
    expected.push_back(values[i + 1]);
  }
  if (!in.outputPath.empty()) {
    expected.push_back("-output");
    expected.push_back(in.outputPath);
  }
  if (args != expected) std::abort();
  return 0;
}
