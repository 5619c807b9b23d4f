// The one-argument rule through every composer: whatever a value holds, the
// program started by the script line receives it as one argument, unchanged,
// and the folder line hands cmd the tool's folder as one argument.
#include <gtest/gtest.h>

#include "bbcb/bbcbjob.h"
#include "dvt/dvtrun.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"
#include "tests/support/runinputs.h"

namespace {

using Args = std::vector<std::string>;

void ExpectScriptPasses(const std::string& script, const std::string& folder, const Args& args) {
  std::vector<std::string> lines = ScriptLines(script);
  if (!lines.empty() && lines[0].compare(0, 4, "REM ") == 0) lines.erase(lines.begin());
  const bool network = folder.compare(0, 2, "\\\\") == 0;
  ASSERT_EQ(3u, lines.size()) << script;
  const std::string verb = network ? "pushd " : "cd ";
  const std::string& folderLine = lines[network ? 0 : 1];
  std::string command = lines[network ? 1 : 2];
  ASSERT_EQ(verb, folderLine.substr(0, verb.size()));
  EXPECT_EQ(Args{folder}, CmdArguments(folderLine.substr(verb.size())));
  if (command.size() > 4 && command.compare(command.size() - 4, 4, "2>&1") == 0) command.resize(command.size() - 4);
  EXPECT_EQ(args, CmdArguments(command));
  EXPECT_EQ(network ? "popd" : folder.substr(0, 2), lines[network ? 2 : 0]);
}

TEST(OneArgument, EveryComposerPassesEachValueWhole) {
  const std::string folders[] = {"D:\\R&D (x)\\100% ^done^", "D:\\다운로드 폴더", "D:\\Éléments àccentués",
                                 "D:\\a b\\c&d%PATH%e^f(g)h!i", "\\\\server\\share\\도구 & é", "D:\\x;y,z=w\t1|<>"};
  const std::string name = "img & 1%.bin", tool = "My Tool.exe";
  const LocalTime start{2011, 3, 7, 14, 5, 0};
  for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    const std::string image = folder + "\\" + name;
    const Args serial = {"My Tool.EXE", "-c", "1", "-b", "7", "-n", "8", "-s", "0", "-p", "0"};
    Args main = serial;
    main.insert(main.end(), {image, "-d"});
    ExpectScriptPasses(ComposeRunScript(FileDownloadInputs(folder + "\\" + tool, folder, name), start), folder, main);

    DvtRunInputs dvt{folder + "\\" + tool, 0, 7, 3, 0, 0, folder, 1};
    main[11] = folder + "\\Dev002.sdl";
    ExpectScriptPasses(ComposeDvtScript(dvt, start), folder, main);

    const BbcbInputs bbcb{folder + "\\" + tool, image, folder, "12 34", "^&|<>%", "\\", start};
    const std::string stamped = BbcbStampedFolder(folder, start);
    ExpectScriptPasses(ComposeBbcbScript(bbcb, stamped).value_or(""), folder,
                       {"My Tool.EXE", "-config", image, "-sn", "12 34", "-rn", "^&|<>%", "-manufacturer_sn",
                        "\\", "-output", stamped + "\\bbcb.bin"});
  }
}

}  // namespace
