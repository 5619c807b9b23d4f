// A BBCB run: the script "run_bbcb.bat", its start, and the whole sequence
// behind "Start !!".
#pragma once

#include <optional>
#include <string>

#include "bbcb/bbcbcommand.h"
#include "bbcb/bbcboutput.h"
#include "core/services.h"
#include "core/timestamp.h"

// The services a run uses.
struct BbcbServices {
  FileSystem& fs;
  ProcessLauncher& launcher;
  const Environment& env;
};

// How far a run got. After RunBbcbScript, kOk means the maker tool was
// started and waited for; after WriteBbcbScript, that the script was written
// and the stamped folder made.
enum class BbcbRunStatus {
  kOk,
  kMissingValue,  // a required value is empty: nothing written, no folder made
  kUnsafeValue,   // a value cannot be passed as one argument: nothing written
  kNoScript,      // the script could not be written: no folder made
  kNoFolder,      // the stamped folder could not be created: nothing started
  kNotStarted,    // the script could not be started
};

struct BbcbRun {
  BbcbRunStatus status = BbcbRunStatus::kMissingValue;
  std::string stampedFolder;  // the folder this run decided on
  std::string scriptPath;     // where the script was written
  LocalTime start;            // the run's start time
  BbcbOutput output;          // what FinishBbcbOutput did (after a run only)
  bool Ok() const { return status == BbcbRunStatus::kOk; }
};

// The script's three lines, each ending in CR LF: the tool's drive, "cd" to
// its folder, the full command line with '%' doubled (for a network folder as
// ToolFolderLines has it). Nothing when no command line can be built or a
// value cannot be passed safely.
std::optional<std::string> ComposeBbcbScript(const BbcbInputs& in, const std::string& stampedFolder);

// Decides the run's stamped folder (the exact stamp, or the stamp with "_2",
// "_3"... when an earlier run of the same minute took it), writes the script
// for it and creates the folder. kOk when both were done.
BbcbRun WriteBbcbScript(BbcbServices& services, const BbcbInputs& in);

// WriteBbcbScript, then starts the script and waits until it has ended.
// kOk only when the script was really started.
BbcbRun RunBbcbScript(BbcbServices& services, const BbcbInputs& in);

// The "Start !!" sequence: takes the time once (stored in `in.start`), runs
// the script, and finishes the output only when the run really happened.
BbcbRun StartBbcbRun(BbcbServices& services, const Clock& clock, BbcbInputs& in);
