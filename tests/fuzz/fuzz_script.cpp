// Any tool path and command text: the run script is exactly four lines, the
// command comes back from it as cmd reads it, and the folder line hands cmd
// one argument; or no script is composed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/paths.h"
#include "core/text.h"
#include "invocation/argument.h"
#include "invocation/script.h"
#include "tests/fuzz/cmdmodel.h"
#include "tests/support/cmdline.h"

namespace {

// '%' doubled: cmd gives back the text itself.
std::optional<std::string> Undouble(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] != '%') continue;
    if (i + 1 >= text.size() || text[i + 1] != '%') return std::nullopt;
    ++i;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);
  const std::string toolPath = fdp.ConsumeRandomLengthString(320);
  const std::string command = fdp.ConsumeRandomLengthString(4096);
  const std::string script = ComposeToolRunScript(toolPath, command, LocalTime{2011, 3, 7, 14, 5, 0});
  if (script.empty()) return 0;
  const std::optional<std::vector<std::string>> lines = ScriptLines(script);
  if (!lines || lines->size() != 4) std::abort();

  const std::string folder = GetPathFolder(toolPath);
  if (folder.empty() || Utf8ToUtf16(folder).size() > kMaxCurrentFolderLength) std::abort();
  const bool network = folder.compare(0, 2, "\\\\") == 0;
  std::string commandLine = network ? (*lines)[2] : (*lines)[3];
  if (!StripSuffix(commandLine, "2>&1") || Undouble(commandLine) != command) std::abort();
  if (network && (*lines)[3] != "popd") std::abort();

  const std::string& folderLine = network ? (*lines)[1] : (*lines)[2];
  const std::string verb = network ? "pushd " : "cd ";
  if (folderLine.compare(0, verb.size(), verb) != 0) std::abort();
  const std::optional<std::string> read = CmdReadsLine(folderLine.substr(verb.size()));
  if (!read) std::abort();
  const std::vector<std::string> args = SplitWindowsCommandLine(*read);
  const bool driveOnly = folder.size() == 2 && folder[1] == ':' &&
                         ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
  if (args.size() != 1 || args[0] != (driveOnly ? folder + "\\" : folder)) std::abort();
  // The drive line is a drive letter and colon, or empty.
  if (!network) {
    const std::string& drive = (*lines)[1];
    if (!drive.empty() && (drive.size() != 2 || drive[1] != ':')) std::abort();
  }
  return 0;
}
