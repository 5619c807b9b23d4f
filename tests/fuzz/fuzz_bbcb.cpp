// Whatever the BBCB window holds, the maker's command line passes each value
// as exactly one argument and the script is three lines that cmd hands on
// unchanged, or nothing is composed at all.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "bbcb/bbcbjob.h"
#include "core/paths.h"
#include "invocation/argument.h"
#include "tests/fuzz/cmdmodel.h"
#include "tests/support/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);
  BbcbInputs in;
  in.toolPath = fdp.ConsumeRandomLengthString(48);
  in.configPath = fdp.ConsumeRandomLengthString(48);
  in.outputFolder = fdp.ConsumeRandomLengthString(48);
  in.serialNumber = fdp.ConsumeRandomLengthString(16);
  in.rn = fdp.ConsumeRandomLengthString(16);
  in.manufacturerSn = fdp.ConsumeRandomLengthString(16);
  in.start = LocalTime{2011, 3, 15, fdp.ConsumeIntegralInRange(0, 23), fdp.ConsumeIntegralInRange(0, 59), 0};
  const std::string stamped = BbcbStampedFolder(in.outputFolder, in.start, fdp.ConsumeIntegralInRange(1, 3));

  const std::string toolName = GetPathFileName(in.toolPath);
  const std::string values[] = {toolName, in.configPath, in.serialNumber, in.rn, in.manufacturerSn,
                                BbcbImagePath(stamped)};
  bool passable = HasBbcbRequiredValues(in);
  for (const std::string& v : values) passable = passable && !v.empty() && FormatArgument(v).has_value();

  const std::string line = BuildBbcbCommandLine(in, stamped, BbcbCommandSelection::All());
  if (!passable) {
    if (!line.empty() || ComposeBbcbScript(in, stamped)) std::abort();
    return 0;
  }
  const std::vector<std::string> want = {values[0], "-config", values[1], "-sn", values[2], "-rn", values[3],
                                         "-manufacturer_sn", values[4], "-output", values[5]};
  if (SplitWindowsCommandLine(line) != want) std::abort();

  const std::optional<std::string> script = ComposeBbcbScript(in, stamped);
  if (!script) return 0;  // the tool's folder cannot be made current
  const std::optional<std::vector<std::string>> lines = ScriptLines(*script);
  if (!lines || lines->size() != 3) std::abort();
  const bool network = GetPathFolder(in.toolPath).compare(0, 2, "\\\\") == 0;
  const std::string& command = network ? (*lines)[1] : (*lines)[2];
  const std::optional<std::string> read = CmdReadsLine(command);
  if (!read || SplitWindowsCommandLine(*read) != want) std::abort();
  // The folder line hands cmd the tool's folder as one argument.
  const std::string& folderLine = network ? (*lines)[0] : (*lines)[1];
  std::string folderArgs = folderLine.substr(folderLine.find(' ') + 1);
  const std::optional<std::string> folderRead = CmdReadsLine(folderArgs);
  if (!folderRead || SplitWindowsCommandLine(*folderRead).size() != 1) std::abort();
  return 0;
}
