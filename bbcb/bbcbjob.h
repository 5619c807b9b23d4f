// The BBCB job: the maker tool's command line, the run's stamped folder, the
// script "run_bbcb.bat" and its run, and what a run leaves beside bbcb.bin
// (the config copy and "ReadMe.txt").
#pragma once

#include <optional>
#include <string>

#include "core/services.h"
#include "core/timestamp.h"
#include "invocation/script.h"

// Everything a BBCB run reads, as the BBCB Setting window holds it.
struct BbcbInputs {
  std::string toolPath;        // full path of irdeto_make_bbcb.exe
  std::string configPath;      // full path of the configuration file
  std::string outputFolder;    // no trailing backslash, except a drive's root (C:\)
  std::string serialNumber;    // S/N
  std::string rn;              // R/N
  std::string manufacturerSn;  // manufacturer S/N
  LocalTime start;             // when "Start !!" was pressed
};

// Which pieces a composition writes; each switch may be chosen alone.
struct BbcbCommandSelection {
  bool toolName = false;
  bool config = false;
  bool serialNumber = false;
  bool rn = false;
  bool manufacturerSn = false;
  bool output = false;
};

// The selected pieces in their fixed order: tool file name, -config, -sn, -rn,
// -manufacturer_sn (always between double quotes), -output with the path of
// bbcb.bin in `stampedFolder`. Every piece but the output ends in one blank.
// Empty when one of the six values is empty or when any value cannot be
// passed as one unchanged argument, whatever the selection.
std::string BuildBbcbCommandLine(const BbcbInputs& in, const std::string& stampedFolder,
                                 const BbcbCommandSelection& sel);

// The output folder, '\' and the stamp "%Y%m%d_%p%H%M" (20110315_PM1445); for
// the n-th run of one minute (n >= 2) followed by "_n".
std::string BbcbStampedFolder(const std::string& outputFolder, const LocalTime& start, int n = 1);

struct BbcbOutput {
  bool imageFound = false;  // the maker tool left bbcb.bin in the stamped folder
  bool configCopied = false;
  bool readMeWritten = false;
};

// The ReadMe's bytes: in the ANSI code page when every character has its
// exact form there, otherwise UTF-8 after a byte-order mark.
std::string EncodeBbcbReadMe(const Environment& env, const std::string& readMe);

// After the maker tool has ended: when bbcb.bin is in `stampedFolder`, copies
// the config file into it (box.cfg as box.CFG) and writes "ReadMe.txt" there:
// the time line and an empty line, the tool's file name, then after a tab
// each the config file's name, the S/N, the R/N, the manufacturer S/N,
// nothing, and "-output bbcb.bin"; then an empty line. Without the image
// nothing is added.
BbcbOutput FinishBbcbOutput(FileSystem& fs, const Environment& env, const BbcbInputs& in,
                            const std::string& stampedFolder);

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
  HeldScript script;          // held until the maker tool has ended
  BbcbOutput output;          // after a run only
  bool Ok() const { return status == BbcbRunStatus::kOk; }
};

// ToolFolderLines of the full command line; nothing when none can be built.
std::optional<std::string> ComposeBbcbScript(const BbcbInputs& in, const std::string& stampedFolder);

// Decides the run's stamped folder (the exact stamp, or the stamp with "_2",
// "_3"... when an earlier run of the same minute took it), writes the script
// for it and creates the folder.
BbcbRun WriteBbcbScript(RunServices& services, const BbcbInputs& in);

// WriteBbcbScript, then starts the script and waits until it has ended.
BbcbRun RunBbcbScript(RunServices& services, const BbcbInputs& in);

// The "Start !!" sequence: takes the time once (stored in `in.start`), runs
// the script, and finishes the output only when the run really happened.
BbcbRun StartBbcbRun(RunServices& services, const Clock& clock, BbcbInputs& in);
