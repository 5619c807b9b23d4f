#include "bbcb/bbcbjob.h"

#include <vector>

#include "core/paths.h"
#include "invocation/argument.h"

namespace {

// `value` as one argument followed by `tail`; empty when it cannot be passed.
std::string Piece(const char* flag, const std::string& value, const char* tail, bool alwaysQuoted = false) {
  const std::optional<std::string> formatted = FormatArgument(value, alwaysQuoted);
  if (!formatted) return {};
  return flag + *formatted + tail;
}

// `text` without any occurrence of the non-empty `part`.
std::string RemoveAll(std::string text, const std::string& part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
  return text;
}

bool HasRequiredValues(const BbcbInputs& in) {
  return !in.toolPath.empty() && !in.configPath.empty() && !in.outputFolder.empty() &&
         !in.serialNumber.empty() && !in.rn.empty() && !in.manufacturerSn.empty();
}

std::string ImagePath(const std::string& stampedFolder) { return stampedFolder + "\\bbcb.bin"; }

// The ReadMe's text (FinishBbcbOutput); empty when no command line can be built.
std::string ComposeBbcbReadMe(const BbcbInputs& in, const std::string& stampedFolder) {
  const auto piece = [&](bool BbcbCommandSelection::*which) {
    return BuildBbcbCommandLine(in, stampedFolder, SelectionOf<BbcbCommandSelection>({which}));
  };
  if (piece(&BbcbCommandSelection::toolName).empty()) return {};
  // The ReadMe sits beside the config copy and the image, so it names them
  // without their folders.
  const std::string configName = RemoveAll(in.configPath, GetPathFolder(in.configPath) + "\\");
  const std::vector<std::string> lines = {
      "* " + FormatTime(in.start, "%Y.%m.%d. %p %H:%M") + " - Make Bbcb.Bin ",
      "",
      piece(&BbcbCommandSelection::toolName),
      "\t" + Piece("-config ", configName, " "),
      "\t" + piece(&BbcbCommandSelection::serialNumber),
      "\t" + piece(&BbcbCommandSelection::rn),
      "\t" + piece(&BbcbCommandSelection::manufacturerSn),
      "\t",
      "\t" + Piece("-output ", "bbcb.bin", ""),
      "",
  };
  return JoinScriptLines(lines);
}

// Runs of one minute beyond this many are refused rather than searched on.
constexpr int kMaxRunsPerMinute = 999;

}  // namespace

std::string BuildBbcbCommandLine(const BbcbInputs& in, const std::string& stampedFolder,
                                 const BbcbCommandSelection& sel) {
  const std::string toolName = GetPathFileName(in.toolPath);
  if (!HasRequiredValues(in) || toolName.empty()) return {};
  // Every piece is composed, selected or not, so a value that cannot be passed
  // refuses every composition alike.
  const std::string pieces[] = {
      Piece("", toolName, " "),
      Piece("-config ", in.configPath, " "),
      Piece("-sn ", in.serialNumber, " "),
      Piece("-rn ", in.rn, " "),
      Piece("-manufacturer_sn ", in.manufacturerSn, " ", true),
      Piece("-output ", ImagePath(stampedFolder), ""),
  };
  const bool selected[] = {sel.toolName, sel.config, sel.serialNumber, sel.rn, sel.manufacturerSn, sel.output};
  std::string line;
  for (size_t i = 0; i < 6; ++i) {
    if (pieces[i].empty()) return {};
    if (selected[i]) line += pieces[i];
  }
  return line;
}

std::string BbcbStampedFolder(const std::string& outputFolder, const LocalTime& start, int n) {
  std::string folder = outputFolder + "\\" + FormatTime(start, "%Y%m%d_%p%H%M");
  if (n >= 2) folder += "_" + std::to_string(n);
  return folder;
}

std::string EncodeBbcbReadMe(const Environment& env, const std::string& readMe) {
  const std::optional<std::string> ansi = env.EncodeForAnsi(readMe);
  return ansi ? *ansi : "\xEF\xBB\xBF" + readMe;
}

BbcbOutput FinishBbcbOutput(FileSystem& fs, const Environment& env, const BbcbInputs& in,
                            const std::string& stampedFolder) {
  BbcbOutput out;
  out.imageFound = fs.FileSizeOrZero(ImagePath(stampedFolder)) > 0;
  if (!out.imageFound) return out;
  out.configCopied = fs.CopyFileOver(in.configPath, stampedFolder + "\\" + GetPathFileName(in.configPath));
  const std::string readMe = ComposeBbcbReadMe(in, stampedFolder);
  out.readMeWritten =
      !readMe.empty() && fs.WriteFileBytes(stampedFolder + "\\ReadMe.txt", EncodeBbcbReadMe(env, readMe));
  return out;
}

std::optional<std::string> ComposeBbcbScript(const BbcbInputs& in, const std::string& stampedFolder) {
  const BbcbCommandSelection every{true, true, true, true, true, true};
  const std::string command = BuildBbcbCommandLine(in, stampedFolder, every);
  if (command.empty()) return std::nullopt;
  return ToolFolderLines(in.toolPath, command);
}

BbcbRun WriteBbcbScript(RunServices& services, const BbcbInputs& in) {
  BbcbRun run;
  const auto ended = [&run](BbcbRunStatus status) {
    run.status = status;
    return run;
  };
  if (!HasRequiredValues(in)) return ended(BbcbRunStatus::kMissingValue);
  for (int n = 1; n <= kMaxRunsPerMinute; ++n) {
    const std::string folder = BbcbStampedFolder(in.outputFolder, in.start, n);
    // Refused before anything is written or made: the stamp's own characters
    // never change whether a script can be composed.
    const std::optional<std::string> script = ComposeBbcbScript(in, folder);
    if (!script) return ended(BbcbRunStatus::kUnsafeValue);
    if (services.fs.FolderExists(folder)) continue;  // an earlier run's release
    run.script = WriteScriptFile(services.fs, services.env, "run_bbcb.bat", *script);
    if (!run.script.hold) return ended(BbcbRunStatus::kNoScript);
    if (services.fs.CreateFolder(folder)) {
      run.stampedFolder = folder;
      return ended(BbcbRunStatus::kOk);
    }
    // Taken between the look and the creation: try the next name.
    if (!services.fs.FolderExists(folder)) break;
  }
  return ended(BbcbRunStatus::kNoFolder);
}

BbcbRun RunBbcbScript(RunServices& services, const BbcbInputs& in) {
  BbcbRun run = WriteBbcbScript(services, in);
  if (run.Ok() && !services.launcher.RunAndWait(ScriptStartCommand(run.script.path), std::string())) {
    run.status = BbcbRunStatus::kNotStarted;
  }
  run.script.hold.reset();
  return run;
}

BbcbRun StartBbcbRun(RunServices& services, const Clock& clock, BbcbInputs& in) {
  in.start = clock.Now();
  BbcbRun run = RunBbcbScript(services, in);
  if (run.Ok()) run.output = FinishBbcbOutput(services.fs, services.env, in, run.stampedFolder);
  return run;
}
