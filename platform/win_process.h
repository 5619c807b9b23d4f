// Child processes: a run waited for with the windows kept painted, and the
// text viewer started on its own.
#pragma once

#include <string>

#include "core/services.h"

// A program named without a folder (the first word of a command line, such
// as "cmd.exe" or "notepad.exe") is taken from the system folder, or else the
// Windows folder, when it is there, and not from the current folder; other
// names are left to the usual search.
class WinProcessLauncher : public ProcessLauncher {
 public:
  // The capture file is opened (or created) with an inheritable handle, then
  // emptied, and given to the child as standard output and standard error;
  // the child's own console still opens. The wait is the one of
  // WaitKeepingWindowsPainted (platform/runguard.h).
  bool RunAndWait(const std::string& commandLine, const std::string& capturePath) override;
  bool StartDetached(const std::string& commandLine) override;
};
