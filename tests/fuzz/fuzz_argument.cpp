// Any value either reaches the tool through a run script as exactly one
// argument, unchanged, or is refused; as the tool's folder it reaches cmd as
// one argument.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "invocation/argument.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> formatted = FormatArgument(value);
  bool unsafe = false;
  for (const unsigned char c : value) unsafe |= c == '"' || (c < 0x20 && c != '\t') || c == 0x7F;
  if (formatted.has_value() == unsafe) std::abort();
  if (!formatted) return 0;
  const std::string script = ComposeToolRunScript("C:\\T\\t.exe", "t.EXE " + *formatted + " -d ", LocalTime{});
  if (script.empty()) return 0;  // longer than a script line may be
  const std::string line = script.substr(script.rfind("\r\n", script.size() - 3) + 2);
  if (CmdArguments(line.substr(0, line.size() - 6)) != std::vector<std::string>{"t.EXE", value, "-d"}) std::abort();

  const std::string folder = "C:\\" + value;
  const std::string cd = ComposeToolRunScript(folder + "\\t.exe", "t.EXE ", LocalTime{});
  if (cd.empty()) return 0;  // longer than a current folder may be
  const size_t from = cd.find("\r\ncd ") + 5;
  if (CmdArguments(cd.substr(from, cd.find("\r\n", from) - from)) != std::vector<std::string>{folder}) std::abort();
  return 0;
}
