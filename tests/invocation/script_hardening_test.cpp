// Run scripts for the paths a bench really has: network folders, folders at
// and beyond what cmd can make current, very long command lines, Korean and
// accented names, and names holding cmd's own characters.
#include <gtest/gtest.h>

#include "core/options.h"
#include "invocation/argument.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"
#include "tests/support/runinputs.h"
#include "tests/support/cmdline.h"

namespace {

const LocalTime kStart{2011, 3, 7, 14, 5, 33};

std::string Undouble(std::string line) {
  for (size_t at = line.find("%%"); at != std::string::npos; at = line.find("%%", at + 1)) line.erase(at, 1);
  return line;
}

TEST(ScriptHardening, OrdinaryScriptStaysAsItWas) {
  EXPECT_EQ(
      "REM 2011.03.07. 14:05\r\n"
      "D:\r\n"
      "cd D:\\Bench\r\n"
      "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\a.bin -d 2>&1\r\n",
      ComposeRunScript(FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart));
}

TEST(ScriptHardening, NetworkToolFolderIsEnteredWithPushdAndLeftWithPopd) {
  const std::vector<std::string> lines =
      ScriptLines(ComposeRunScript(FileDownloadInputs("\\\\server\\share\\벤치 100%\\Dorvik.exe", "E:\\load", "a.bin"), kStart));
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ("pushd \"\\\\server\\share\\벤치 100%%\"", lines[1]);
  EXPECT_EQ("Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\a.bin -d 2>&1", lines[2]);
  EXPECT_EQ("popd", lines[3]);
}

TEST(ScriptHardening, ToolFolderLongerThanACurrentFolderIsRefused) {
  // 258 UTF-16 units is the longest; a Korean character is one unit but three bytes.
  const std::string fits = "D:\\" + std::string(255, 'a');
  ASSERT_EQ(258u, fits.size());
  EXPECT_EQ(4u, ScriptLines(ComposeRunScript(FileDownloadInputs(fits + "\\Dorvik.exe", "E:\\l", "a.bin"), kStart)).size());
  EXPECT_EQ("", ComposeRunScript(FileDownloadInputs(fits + "c\\Dorvik.exe", "E:\\l", "a.bin"), kStart));
  std::string korean = "D:\\";
  for (int i = 0; i < 255; ++i) korean += "한";
  EXPECT_EQ(4u, ScriptLines(ComposeRunScript(FileDownloadInputs(korean + "\\Dorvik.exe", "E:\\l", "a.bin"), kStart)).size());
  EXPECT_EQ("", ComposeRunScript(FileDownloadInputs(korean + "한\\Dorvik.exe", "E:\\l", "a.bin"), kStart));
}

TEST(ScriptHardening, CommandLineLongerThanCmdReadsIsRefusedAndNothingRuns) {
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin");
  in.command = kCmdIrdetoFactoryProgram;
  in.rows.clear();
  for (int i = 0; i < 30; ++i) in.rows.push_back({true, "E:\\" + std::string(290, 'd'), "image.bin"});
  EXPECT_EQ("", ComposeRunScript(in, kStart));

  FakeFileSystem fs;
  FakeLauncher launcher;
  FakeEnvironment env;
  RunServices services{fs, launcher, env};
  EXPECT_FALSE(RunToolScript(services, in, kStart, true));
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_TRUE(fs.files.empty());

  in.rows.resize(25);  // 25 rows of 300 characters still fit
  EXPECT_EQ(4u, ScriptLines(ComposeRunScript(in, kStart)).size());
}

TEST(ScriptHardening, ControlCharactersInACommandNeverSplitTheScript) {
  for (const char* command : {"Dorvik.EXE \r\ncalc ", "Dorvik.EXE \ncalc ", "Dorvik.EXE \x1A "}) {
    EXPECT_EQ("", ComposeToolRunScript("D:\\Bench\\Dorvik.exe", command, kStart));
  }
}

TEST(ScriptHardening, AwkwardNamesReachTheToolUnchanged) {
  const std::string folders[] = {
      "E:\\R&D (2011)\\100% ^done^",
      "E:\\다운로드 폴더\\한글",
      "E:\\Éléments àccentués",
      "E:\\a b\\c&d%PATH%e^f(g)h!i",
      "\\\\server\\share\\images",
      "E:\\" + std::string(280, 'p'),
  };
  for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    for (const std::string& tool : {std::string("D:\\R&D (x)\\100% ^\\Dorvik.exe"),
                                    std::string("\\\\server\\share\\도구 & é\\Dorvik.exe")}) {
      const std::vector<std::string> lines =
          ScriptLines(ComposeRunScript(FileDownloadInputs(tool, folder, "img & 1%.bin"), kStart));
      ASSERT_EQ(4u, lines.size());
      const std::string command = tool[0] == '\\' ? lines[2] : lines[3];
      const std::vector<std::string> args = SplitWindowsCommandLine(Undouble(command.substr(0, command.size() - 4)));
      ASSERT_EQ(13u, args.size());
      EXPECT_EQ(folder + "\\img & 1%.bin", args[11]);
    }
  }
}

}  // namespace
