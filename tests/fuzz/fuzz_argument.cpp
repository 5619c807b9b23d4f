// Any value either comes back from the composed text as exactly one argument,
// unchanged, or is refused.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "invocation/argument.h"
#include "tests/support/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> formatted = FormatArgument(value);
  if (!formatted) {
    bool unsafe = false;
    for (unsigned char c : value) unsafe |= c == '"' || (c < 0x20 && c != '\t') || c == 0x7F;
    if (!unsafe) std::abort();
    return 0;
  }
  const std::vector<std::string> args = SplitWindowsCommandLine("tool.EXE " + *formatted + " -d");
  if (args.size() != 3 || args[1] != value || args[2] != "-d") std::abort();
  return 0;
}
