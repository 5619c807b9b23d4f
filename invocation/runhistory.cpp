#include "invocation/runhistory.h"

std::vector<std::string> ComposeRunHistoryLines(const ToolCommandInputs& in, const LocalTime& start) {
  std::vector<std::string> candidates = {FormatTime(start, "[%Y.%m.%d. %H:%M]"),
                                         BuildToolCommandLine(in, CommandLineSelection::SerialGroup()),
                                         BuildToolCommandLine(in, CommandLineSelection::CommandGroup())};
  for (int position = 0; position < 4; ++position) {
    candidates.push_back(BuildToolCommandLine(in, CommandLineSelection::ArgumentGroup(position)));
  }
  candidates.push_back(BuildToolCommandLine(in, CommandLineSelection::OutputGroup()));
  candidates.push_back(" ");

  std::vector<std::string> lines;
  for (std::string& text : candidates) {
    if (!text.empty()) lines.push_back(std::move(text));
  }
  return lines;
}
