// Whatever the DVT window was opened with, the case's command line passes the
// tool name and the image as one argument each, and the script is four lines
// that cmd hands on unchanged, or nothing is composed at all.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/options.h"
#include "core/paths.h"
#include "dvt/dvtcatalogue.h"
#include "dvt/dvtrun.h"
#include "invocation/argument.h"
#include "tests/fuzz/cmdmodel.h"
#include "tests/support/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);
  DvtRunInputs in;
  in.portIndex = fdp.ConsumeIntegralInRange(-2, 10);
  in.baudIndex = fdp.ConsumeIntegralInRange(-2, 10);
  in.dataIndex = fdp.ConsumeIntegralInRange(-2, 10);
  in.stopIndex = fdp.ConsumeIntegralInRange(-2, 10);
  in.parityIndex = fdp.ConsumeIntegralInRange(-2, 10);
  in.currentCase = fdp.ConsumeIntegralInRange(-2, GetDvtTestCaseCount() + 1);
  in.toolPath = fdp.ConsumeRandomLengthString(48);
  in.dvtPath = fdp.ConsumeRandomLengthString(64);

  const std::string line = BuildDvtCommandLine(in);
  const bool inCatalogue = in.currentCase >= 0 && in.currentCase < GetDvtTestCaseCount();
  const std::string toolName = GetPathFileName(in.toolPath);
  std::string image;
  if (inCatalogue) image = in.dvtPath + "\\" + DvtTestCatalogue[in.currentCase].fileName;
  const bool passable = inCatalogue && !in.dvtPath.empty() && !toolName.empty() &&
                        FormatArgument(toolName) && FormatArgument(image);
  if (!passable) {
    if (!line.empty() || !ComposeDvtScript(in, LocalTime{}).empty()) std::abort();
    return 0;
  }
  const std::vector<std::string> args = SplitWindowsCommandLine(line);
  if (args.size() < 2 || args.front() != toolName || args.back() != "-d") std::abort();
  const int32_t code = DvtTestCatalogue[in.currentCase].commandCode;
  const bool hasImage = code == kCmdFileDownload || code == kCmdIrdetoDevProgram;
  size_t images = 0;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == image) ++images;
    // Every other argument is a switch or a number of the catalogues.
    else if (args[i].empty() || args[i].find_first_of(" \"\\") != std::string::npos) std::abort();
  }
  if (images != (hasImage ? 1u : 0u)) std::abort();

  const std::string script = ComposeDvtScript(in, LocalTime{2011, 3, 7, 14, 5, 0});
  if (script.empty()) return 0;  // the tool's folder cannot be made current
  const std::optional<std::vector<std::string>> lines = ScriptLines(script);
  if (!lines || lines->size() != 4 || (*lines)[0] != "REM 2011.03.07. 14:05") std::abort();
  const bool network = GetPathFolder(in.toolPath).compare(0, 2, "\\\\") == 0;
  std::string command = network ? (*lines)[2] : (*lines)[3];
  if (!StripSuffix(command, "2>&1")) std::abort();
  const std::optional<std::string> read = CmdReadsLine(command);
  if (!read || SplitWindowsCommandLine(*read) != args) std::abort();
  return 0;
}
