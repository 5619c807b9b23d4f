#include <gtest/gtest.h>

#include "core/options.h"
#include "core/paths.h"
#include "invocation/argument.h"
#include "invocation/toolcmdline.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"
#include "tests/support/runinputs.h"
#include "tests/support/cmdline.h"

namespace {

const LocalTime kStart{2011, 3, 7, 14, 5, 33};
const char* const kProgramFolder = "C:\\Program Files\\Quintor\\";
const char* const kUserFolder = "C:\\Users\\op\\AppData\\Local\\Quintor\\";

// What cmd makes of a batch line: "%%" becomes "%"; a single '%' would start
// a variable reference and mangle the value.
std::string AsCmdReadsIt(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    if (line[i] != '%') continue;
    if (i + 1 < line.size() && line[i + 1] == '%') {
      ++i;
    } else {
      ADD_FAILURE() << "single % in: " << line;
    }
  }
  return out;
}

class RunnerTest : public ::testing::Test {
 protected:
  FakeFileSystem fs;
  FakeLauncher launcher;
  FakeEnvironment env;
  RunServices services{fs, launcher, env};
  void SetUp() override { fs.AddFile("D:\\Bench\\Dorvik.exe", "MZ"); }
};

TEST_F(RunnerTest, AToolThatHasGoneRunsNothing) {
  fs.files.clear();
  EXPECT_FALSE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, false));
  EXPECT_TRUE(launcher.calls.empty());
}

TEST(RunScript, ExampleHasFourLines) {
  const ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "dev002.SDL");
  EXPECT_EQ(
      "REM 2011.03.07. 14:05\r\n"
      "D:\r\n"
      "cd D:\\Bench\r\n"
      "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\dev002.SDL -d 2>&1\r\n",
      ComposeRunScript(in, kStart));
}

// Every value reaches the tool as one unchanged argument, whatever it holds.
TEST(RunScript, ValuesSurviveTheCommandInterpreter) {
  const std::vector<std::string> folders = {
      "D:\\Bench",        "D:\\My Tools",   "D:\\R&D",          "D:\\100%",         "D:\\%PATH%",
      "D:\\a^b",          "D:\\x (86)",     "D:\\wow!",         "D:\\한글 폴더",    "D:\\Café\\été",
      "D:\\a;b,c=d",      "D:\\ends\\",     "D:\\tab\there",    "D:\\<>|",
  };
  for (const std::string& folder : folders) {
    const std::string tool = folder + (folder.back() == '\\' ? "" : "\\") + "Dorvik.exe";
    const ToolCommandInputs in = FileDownloadInputs(tool, folder, "image 1 & %x%.bin");
    const std::vector<std::string> lines = ScriptLines(ComposeRunScript(in, kStart));
    ASSERT_EQ(4u, lines.size()) << folder;
    EXPECT_EQ("D:", lines[1]);

    // Line 3: "cd" and the folder as one argument.
    ASSERT_EQ(0u, lines[2].find("cd ")) << folder;
    const std::vector<std::string> cdArgs = SplitWindowsCommandLine(AsCmdReadsIt(lines[2].substr(3)));
    ASSERT_EQ(1u, cdArgs.size()) << lines[2];
    EXPECT_EQ(GetPathFolder(tool), cdArgs[0]) << folder;

    // Line 4: the arguments as the tool splits them.
    const std::string suffix = "2>&1";
    ASSERT_EQ(lines[3].size() - suffix.size(), lines[3].rfind(suffix));
    const std::vector<std::string> args =
        SplitWindowsCommandLine(AsCmdReadsIt(lines[3].substr(0, lines[3].size() - suffix.size())));
    const std::string image = folder + "\\image 1 & %x%.bin";
    const std::vector<std::string> expected = {"Dorvik.EXE", "-c", "1", "-b", "7", "-n", "8", "-s", "0",
                                               "-p",         "0",  image, "-d"};
    EXPECT_EQ(expected, args) << lines[3];
  }
}

TEST(RunScript, DriveAndFolderLines) {
  struct Case {
    const char* tool;
    const char* drive;
    const char* cd;
  };
  const Case cases[] = {
      {"D:\\Dorvik.exe", "D:", "cd D:\\"},  // "cd D:" would leave the folder as it was
      {"e:\\t\\Dorvik.exe", "e:", "cd e:\\t"},
      {"D&calc\\Dorvik.exe", "", "cd \"D&calc\""},  // never run as a command
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines =
        ScriptLines(ComposeRunScript(FileDownloadInputs(c.tool, "E:\\load", "a.bin"), kStart));
    ASSERT_EQ(4u, lines.size()) << c.tool;
    EXPECT_EQ(c.drive, lines[1]) << c.tool;
    EXPECT_EQ(c.cd, lines[2]) << c.tool;
  }
}

TEST(RunScript, NothingWhenNoCommandLine) {
  ToolCommandInputs noTool = FileDownloadInputs("", "E:\\load", "a.bin");
  EXPECT_EQ("", ComposeRunScript(noTool, kStart));
  ToolCommandInputs emptyList = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin");
  emptyList.rows.clear();
  EXPECT_EQ("", ComposeRunScript(emptyList, kStart));
  ToolCommandInputs quote = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a\".bin");
  EXPECT_EQ("", ComposeRunScript(quote, kStart));
  ToolCommandInputs noFolder = FileDownloadInputs("Dorvik.exe", "E:\\load", "a.bin");
  EXPECT_EQ("", ComposeRunScript(noFolder, kStart));

  ToolCommandInputs secureCheck = emptyList;
  secureCheck.command = kCmdIrdetoSecureCheck;
  EXPECT_EQ(4u, ScriptLines(ComposeRunScript(secureCheck, kStart)).size());
}

TEST_F(RunnerTest, CapturedRunWritesScriptAndEmptiesTheLog) {
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "old output");
  std::string logDuringRun = "not run";
  launcher.onRun = [&](const std::string&, const std::string& capture) { logDuringRun = fs.Content(capture); };

  ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, true));
  ASSERT_EQ(1u, launcher.calls.size());
  EXPECT_EQ("cmd.exe /d /v:off /s /c \"\"C:\\Program Files\\Quintor\\run_dorvik.bat\"\"", launcher.calls[0].commandLine);
  EXPECT_EQ(std::string(kProgramFolder) + "Quintor_Log.txt", launcher.calls[0].capturePath);
  EXPECT_TRUE(launcher.calls[0].waited);
  EXPECT_EQ("", logDuringRun);
  EXPECT_EQ(4u, ScriptLines(fs.Content(std::string(kProgramFolder) + "run_dorvik.bat")).size());
}

TEST_F(RunnerTest, UncapturedRunLeavesTheLog) {
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "old output");
  ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, false));
  EXPECT_EQ("", launcher.calls.at(0).capturePath);
  EXPECT_EQ("old output", fs.Content(std::string(kProgramFolder) + "Quintor_Log.txt"));
}

TEST_F(RunnerTest, FailuresRunNothingAndReportFalse) {
  const std::string script = std::string(kProgramFolder) + "run_dorvik.bat";
  fs.AddFile(script, "previous");
  EXPECT_FALSE(RunToolScript(services, FileDownloadInputs("", "E:\\load", "a.bin"), kStart, true));
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_EQ("previous", fs.Content(script));
  EXPECT_FALSE(fs.Has(std::string(kProgramFolder) + "Quintor_Log.txt"));

  launcher.startable = false;  // the script cannot be started
  EXPECT_FALSE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, false));
  EXPECT_EQ(1u, launcher.calls.size());

  // A character the command interpreter would read as another one.
  launcher.startable = true;
  env.asciiBatchOnly = true;
  EXPECT_FALSE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\한글", "a.bin"), kStart, false));
  EXPECT_EQ(1u, launcher.calls.size());
}

TEST_F(RunnerTest, RefusingProgramFolderMovesScriptAndLogToTheUser) {
  fs.refused = {kProgramFolder};
  ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, true));
  EXPECT_TRUE(fs.Has(std::string(kUserFolder) + "run_dorvik.bat"));
  EXPECT_EQ("cmd.exe /d /v:off /s /c \"\"" + std::string(kUserFolder) + "run_dorvik.bat\"\"",
            launcher.calls.at(0).commandLine);
  const std::string userLog = std::string(kUserFolder) + "Quintor_Log.txt";
  EXPECT_EQ(userLog, launcher.calls.at(0).capturePath);

  // The captured run wrote there; "View Log" opens it there.
  fs.AddFile(userLog, "captured");
  EXPECT_EQ(userLog, CaptureLogPath(services));
  ASSERT_TRUE(ViewCaptureLog(services));
  EXPECT_EQ("notepad.exe " + userLog, launcher.calls.back().commandLine);
  EXPECT_FALSE(launcher.calls.back().waited);

  // Once the program folder takes the log again, the older per-user log no
  // longer stands for the last run.
  fs.refused.clear();
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "older");
  ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, true));
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "newest");
  EXPECT_EQ(std::string(kProgramFolder) + "Quintor_Log.txt", CaptureLogPath(services));
}

TEST_F(RunnerTest, NoFolderTakesTheLogRunsWithoutCapture) {
  fs.refused = {kProgramFolder + std::string("Quintor_Log.txt"), kUserFolder};
  ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, true));
  EXPECT_EQ("", launcher.calls.at(0).capturePath);
}

TEST_F(RunnerTest, ProgramFolderWithPercentIsPassedOver) {
  env.exePath = "C:\\Tools %USERNAME%\\Quintor.exe";
  std::string path;
  ASSERT_TRUE(WriteRunScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, &path));
  EXPECT_EQ(std::string(kUserFolder) + "run_dorvik.bat", path);
  env.userFolder = "";
  EXPECT_FALSE(WriteRunScript(services, FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin"), kStart, &path));
}

TEST_F(RunnerTest, ViewLogDoesNothingForMissingOrEmptyLog) {
  EXPECT_FALSE(ViewCaptureLog(services));
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "");
  EXPECT_FALSE(ViewCaptureLog(services));
  EXPECT_TRUE(launcher.calls.empty());
  fs.AddFile(std::string(kProgramFolder) + "Quintor_Log.txt", "x");
  ASSERT_TRUE(ViewCaptureLog(services));
  EXPECT_EQ("notepad.exe \"C:\\Program Files\\Quintor\\Quintor_Log.txt\"", launcher.calls.at(0).commandLine);
}

TEST(RunHistory, LinesOfOneRun) {
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "dev002.SDL");
  in.rows.insert(in.rows.begin(), DownloadRow{false, "E:\\load", "bbcb.BIN"});
  const std::vector<std::string> download = {"[2011.03.07. 14:05]", "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ",
                                             "dev002.SDL ", " "};
  EXPECT_EQ(download, ComposeRunHistoryLines(in, kStart));

  in.command = kCmdIrdetoFactoryLock;
  in.rows = {{true, "E:\\load", "bbcb.BIN"}, {true, "F:\\keys", "mankey.DNL"}, {true, "F:\\keys", "x.DNL"},
             {true, "F:\\keys", "y.DNL"}, {true, "F:\\keys", "beyond.DNL"}};
  in.scs = true;
  in.outputPath = "G:\\out\\result.txt";
  in.debugPrint = false;
  const std::vector<std::string> lock = {"[2011.03.07. 14:05]",
                                         "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 ",
                                         "-cmd irdeto_factory_lock ",
                                         "-arg0 bbcb.BIN ",
                                         "-arg1 mankey.DNL ",
                                         "-arg2 x.DNL ",
                                         "-arg3 y.DNL ",
                                         "-output result.TXT ",
                                         " "};
  EXPECT_EQ(lock, ComposeRunHistoryLines(in, kStart));
}

}  // namespace
