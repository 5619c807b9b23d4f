// Where the program runs: its executable, its per-user folder and the code
// pages in which the command interpreter reads batch scripts and narrow
// programs read text files.
#pragma once

#include <optional>
#include <string>

#include "core/services.h"

class WinEnvironment : public Environment {
 public:
  std::string ExecutablePath() const override;
  // "Quintor\" under the per-user local application data folder, not created
  // here; empty when that folder is unknown.
  std::string UserDataFolder() const override;
  // The console's code page when the program has a console (a child shares
  // it), otherwise the OEM code page a new console starts with. A character
  // that does not come back unchanged from that code page is refused.
  std::optional<std::string> EncodeForBatch(const std::string& text) const override;
  // The system's ANSI code page, with the same round-trip check.
  std::optional<std::string> EncodeForAnsi(const std::string& text) const override;
};
