#include "bbcb/bbcbrun.h"

#include "core/paths.h"
#include "invocation/script.h"

namespace {

// Runs of one minute beyond this many are refused rather than searched on.
constexpr int kMaxRunsPerMinute = 999;

}  // namespace

std::optional<std::string> ComposeBbcbScript(const BbcbInputs& in, const std::string& stampedFolder) {
  const std::string command = BuildBbcbCommandLine(in, stampedFolder, BbcbCommandSelection::All());
  if (command.empty()) return std::nullopt;
  const std::optional<std::vector<std::string>> lines = ToolFolderLines(in.toolPath, EscapeBatchPercent(command));
  if (!lines) return std::nullopt;
  return JoinScriptLines(*lines);
}

BbcbRun WriteBbcbScript(BbcbServices& services, const BbcbInputs& in) {
  BbcbRun run;
  run.start = in.start;
  if (!HasBbcbRequiredValues(in)) {
    run.status = BbcbRunStatus::kMissingValue;
    return run;
  }
  // Refused before anything is written or made; the stamp's own characters
  // never change whether a script can be composed.
  if (!ComposeBbcbScript(in, BbcbStampedFolder(in.outputFolder, in.start))) {
    run.status = BbcbRunStatus::kUnsafeValue;
    return run;
  }
  for (int n = 1; n <= kMaxRunsPerMinute; ++n) {
    const std::string folder = BbcbStampedFolder(in.outputFolder, in.start, n);
    if (services.fs.FolderExists(folder)) continue;  // an earlier run's release
    const std::optional<std::string> script = ComposeBbcbScript(in, folder);
    if (!script) {
      run.status = BbcbRunStatus::kUnsafeValue;
      return run;
    }
    if (!WriteScriptFile(services.fs, services.env, "run_bbcb.bat", *script, &run.scriptPath)) {
      run.status = BbcbRunStatus::kNoScript;
      return run;
    }
    if (services.fs.CreateFolder(folder)) {
      run.stampedFolder = folder;
      run.status = BbcbRunStatus::kOk;
      return run;
    }
    // Taken between the look and the creation: try the next name.
    if (!services.fs.FolderExists(folder)) break;
  }
  run.status = BbcbRunStatus::kNoFolder;
  return run;
}

BbcbRun RunBbcbScript(BbcbServices& services, const BbcbInputs& in) {
  BbcbRun run = WriteBbcbScript(services, in);
  if (!run.Ok()) return run;
  if (!services.launcher.RunAndWait(ScriptStartCommand(run.scriptPath), std::string())) {
    run.status = BbcbRunStatus::kNotStarted;
  }
  return run;
}

BbcbRun StartBbcbRun(BbcbServices& services, const Clock& clock, BbcbInputs& in) {
  in.start = clock.Now();
  BbcbRun run = RunBbcbScript(services, in);
  if (run.Ok()) run.output = FinishBbcbOutput(services.fs, services.env, in, run.stampedFolder);
  return run;
}
