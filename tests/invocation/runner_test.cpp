#include <gtest/gtest.h>

#include "invocation/script.h"
#include "tests/support/fakes.h"
#include "tests/support/runinputs.h"

namespace {

const LocalTime kStart{2011, 3, 7, 14, 5, 33};
const std::string kProgram = "C:\\Program Files\\Quintor\\", kUser = "C:\\Users\\op\\AppData\\Local\\Quintor\\";

class Runner : public ::testing::Test, protected FakeServices {
 protected:
  RunServices services{fs, launcher, env};
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin");
  void SetUp() override { fs.AddFile(in.toolPath, "MZ"); }
  bool Run(bool capture) { return RunToolScript(services, in, kStart, capture); }
};

TEST_F(Runner, ScriptAndCaptureLogGoWhereTheyCanBeWritten) {
  fs.AddFile(kProgram + "Quintor_Log.txt", "old output");
  std::string logDuringRun = "not run";
  launcher.onRun = [&](const std::string&, const std::string& capture) { logDuringRun = fs.Content(capture); };
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(ComposeRunScript(in, kStart), fs.Content(kProgram + "run_dorvik.bat"));
  EXPECT_EQ("cmd.exe /d /v:off /s /c \"\"" + kProgram + "run_dorvik.bat\"\" > " + kProgram + "Quintor_Log.txt waited",
            launcher.Last());
  EXPECT_EQ("", logDuringRun);
  // The per-user folder is made only when a file goes there; an empty log is not viewed.
  EXPECT_FALSE(fs.FolderExists(kUser.substr(0, kUser.size() - 1)) || fs.Has(kUser + "Quintor_Log.txt") ||
               ViewCaptureLog(services));
  fs.AddFile(kProgram + "Quintor_Log.txt", "captured");
  ASSERT_TRUE(Run(false));  // without capture the log stays
  EXPECT_EQ(ScriptStartCommand(kProgram + "run_dorvik.bat") + " >  waited", launcher.Last());
  ASSERT_TRUE(ViewCaptureLog(services));
  EXPECT_EQ("notepad.exe \"" + kProgram + "Quintor_Log.txt\" > ", launcher.Last());

  fs.refused = {kProgram};
  ASSERT_TRUE(Run(true));
  EXPECT_TRUE(fs.FolderExists(kUser.substr(0, kUser.size() - 1)));
  EXPECT_EQ(ScriptStartCommand(kUser + "run_dorvik.bat") + " > " + kUser + "Quintor_Log.txt waited", launcher.Last());
  fs.AddFile(kUser + "Quintor_Log.txt", "x");
  ASSERT_TRUE(ViewCaptureLog(services));
  EXPECT_EQ("notepad.exe " + kUser + "Quintor_Log.txt > ", launcher.Last());
  // Once the program folder takes the log again, the older per-user log no
  // longer stands for the last run.
  fs.refused.clear();
  ASSERT_TRUE(Run(true));
  EXPECT_EQ("", fs.Content(kUser + "Quintor_Log.txt"));
  EXPECT_EQ(kProgram + "Quintor_Log.txt", CaptureLogPath(services));

  fs.refused = {kProgram + "Quintor_Log.txt", kUser};  // no folder takes the log
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(ScriptStartCommand(kProgram + "run_dorvik.bat") + " >  waited", launcher.Last());
  env.exePath = "C:\\Tools %USERNAME%\\Quintor.exe";  // cmd would expand it
  EXPECT_FALSE(Run(true));
  fs.refused.clear();
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(ScriptStartCommand(kUser + "run_dorvik.bat"), launcher.calls.back().commandLine);
}

TEST_F(Runner, NothingRunsWithoutAToolACommandLineOrAReadableScript) {
  fs.AddFile(kProgram + "run_dorvik.bat", "previous");
  in.rows.clear();
  EXPECT_FALSE(Run(true));
  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\한글", "a.bin");
  env.asciiBatchOnly = true;  // a character cmd would read as another one
  EXPECT_FALSE(Run(false));
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_EQ("previous", fs.Content(kProgram + "run_dorvik.bat"));
  EXPECT_FALSE(fs.Has(kProgram + "Quintor_Log.txt"));
  env.asciiBatchOnly = false;
  launcher.startable = false;
  EXPECT_FALSE(Run(false));
  fs.files.clear();  // the tool has gone since it was chosen
  launcher.startable = true;
  EXPECT_FALSE(Run(false) || ViewCaptureLog(services));
  EXPECT_EQ(1u, launcher.calls.size());
}

TEST(RunScript, FolderLinesAndLimits) {
  const auto script = [](const std::string& tool) {
    return ComposeRunScript(FileDownloadInputs(tool, "E:\\l", "a.bin"), kStart).substr(23);
  };
  const std::string command = "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\l\\a.bin -d 2>&1\r\n";
  EXPECT_EQ("A:\r\ncd A:\\\r\n" + command, script("A:\\Dorvik.exe"));
  for (const std::string drive : {"A:", "Z:", "a:", "z:"}) EXPECT_EQ(drive + "\r\n", script(drive + "\\x\\t.exe").substr(0, 4));
  for (const std::string other : {"@:", "[:", "`:", "{:", "D&"}) EXPECT_EQ("\r\n", script(other + "\\x\\t.exe").substr(0, 2));
  EXPECT_EQ("\r\ncd \"D&calc\"\r\n" + command, script("D&calc\\Dorvik.exe"));  // never run as a command
  EXPECT_EQ("pushd \"\\\\srv\\벤치 100%%\"\r\n" + command + "popd\r\n", script("\\\\srv\\벤치 100%\\Dorvik.exe"));
  // The longest folder cmd can make current is 258 UTF-16 units.
  std::string korean = "D:\\";
  for (int i = 0; i < 255; ++i) korean += "한";
  EXPECT_EQ("D:\r\ncd \"" + korean + "\"\r\n" + command, script(korean + "\\Dorvik.exe"));
  for (const std::string& tool : {korean + "a\\Dorvik.exe", std::string("Dorvik.exe"), std::string("D:\\a\"b\\Dorvik.exe"),
                                 std::string("\\\\srv\\a\"b\\Dorvik.exe")}) {
    EXPECT_EQ("", ComposeRunScript(FileDownloadInputs(tool, "E:\\l", "a.bin"), kStart)) << tool;
  }
  // The longest script line is 8191 characters; no control character but a
  // tab may split one.
  const std::string fits(8191 - 4, 'x');
  EXPECT_EQ(fits + "2>&1", ScriptLines(ComposeToolRunScript("D:\\B\\T.exe", fits, kStart)).at(3));
  for (const std::string& bad : {fits + "x", std::string(), std::string("T.EXE \r\ncalc "), std::string("T \x1A"),
                                std::string("T \x7F")}) {
    EXPECT_EQ("", ComposeToolRunScript("D:\\B\\T.exe", bad, kStart));
  }
  EXPECT_EQ("REM 2011.03.07. 14:05\r\nD:\r\ncd D:\\B\r\nT.EXE %%1\t2>&1\r\n",
            ComposeToolRunScript("D:\\B\\T.exe", "T.EXE %1\t", kStart));
}

}  // namespace
