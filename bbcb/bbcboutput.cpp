#include "bbcb/bbcboutput.h"

#include <optional>
#include <vector>

#include "core/paths.h"
#include "invocation/script.h"

namespace {

std::string RemoveAll(std::string text, const std::string& part) {
  if (part.empty()) return text;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
  return text;
}

BbcbCommandSelection Only(bool BbcbCommandSelection::*which) {
  BbcbCommandSelection s;
  s.*which = true;
  return s;
}

}  // namespace

std::string BbcbConfigCopyName(const std::string& configPath) { return GetPathFileName(configPath); }

std::string ComposeBbcbReadMe(const BbcbInputs& in, const std::string& stampedFolder) {
  const auto piece = [&](bool BbcbCommandSelection::*which) {
    return BuildBbcbCommandLine(in, stampedFolder, Only(which));
  };
  if (piece(&BbcbCommandSelection::toolName).empty()) return {};
  // The ReadMe sits beside the config copy and the image, so it names them
  // without their folders.
  const std::string configName = RemoveAll(in.configPath, GetPathFolder(in.configPath) + "\\");
  const std::vector<std::string> lines = {
      "* " + FormatTime(in.start, "%Y.%m.%d. %p %H:%M") + " - Make Bbcb.Bin ",
      "",
      piece(&BbcbCommandSelection::toolName),
      "\t" + BbcbConfigPiece(configName),
      "\t" + piece(&BbcbCommandSelection::serialNumber),
      "\t" + piece(&BbcbCommandSelection::rn),
      "\t" + piece(&BbcbCommandSelection::manufacturerSn),
      "\t",
      "\t" + BbcbOutputPiece("bbcb.bin"),
      "",
  };
  return JoinScriptLines(lines);
}

std::string EncodeBbcbReadMe(const Environment& env, const std::string& readMe) {
  const std::optional<std::string> ansi = env.EncodeForAnsi(readMe);
  return ansi ? *ansi : "\xEF\xBB\xBF" + readMe;
}

BbcbOutput FinishBbcbOutput(FileSystem& fs, const Environment& env, const BbcbInputs& in,
                            const std::string& stampedFolder) {
  BbcbOutput out;
  out.imageFound = fs.FileSizeOrZero(BbcbImagePath(stampedFolder)) > 0;
  if (!out.imageFound) return out;
  out.configCopied = fs.CopyFileOver(in.configPath, stampedFolder + "\\" + BbcbConfigCopyName(in.configPath));
  const std::string readMe = ComposeBbcbReadMe(in, stampedFolder);
  out.readMeWritten =
      !readMe.empty() && fs.WriteFileBytes(stampedFolder + "\\ReadMe.txt", EncodeBbcbReadMe(env, readMe));
  return out;
}
