// Runs through the real command interpreter and the stand-in tool.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>

#include "core/options.h"
#include "invocation/script.h"
#include "platform/winservices.h"
#include "tests/win/runner/winsupport.h"

namespace {

// What the stand-in recorded: "key=value" lines.
std::map<std::string, std::string> ReadRecord(const std::string& path) {
  std::map<std::string, std::string> record;
  const std::string text = ReadFileText(path);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) record[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return record;
}

std::vector<std::string> RecordedArguments(const std::map<std::string, std::string>& record) {
  std::vector<std::string> args;
  const auto count = record.find("argc");
  if (count == record.end()) return args;
  for (int i = 1; i < std::stoi(count->second); ++i) args.push_back(record.at("arg" + std::to_string(i)));
  return args;
}

size_t CountLines(const std::string& text) {
  size_t n = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++n;
  return n;
}

class RealRun : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's folder itself holds characters the start command must carry.
    programFolder = scratch.Make("Prog & Co (x86) ^ 한글 !") + "\\";
    userFolder = scratch.Make("user") + "\\";
    recordPath = scratch.Path() + "\\record.txt";
    runLogPath = scratch.Path() + "\\runs.txt";
  }

  // Copies the stand-in as `toolName` into `folder` and returns its path.
  std::string InstallTool(const std::string& folder, const std::string& toolName = "Dorvik.exe") {
    MakeFolders(folder);
    const std::string tool = folder + "\\" + toolName;
    EXPECT_TRUE(CopyInto(StandinPath("Dorvik.exe"), tool)) << tool;
    return tool;
  }

  ToolCommandInputs Inputs(const std::string& tool, const std::string& imageFolder, const std::string& image) {
    ToolCommandInputs in;
    in.toolPath = tool;
    in.port = 3;
    in.baudRate = 57600;
    in.dataBits = 8;
    in.stopBits = 0;
    in.parity = 0;
    in.command = kCmdFileDownload;
    in.rows = {{true, imageFolder, image}};
    MakeFolders(imageFolder);
    WriteFileText(imageFolder + "\\" + image, "image");
    return in;
  }

  bool Run(const ToolCommandInputs& in, bool capture) { return RunToolScript(services, in, start, capture); }

  std::string LogPath() const { return programFolder + "Quintor_Log.txt"; }

  ScratchFolder scratch;
  std::string programFolder, userFolder, recordPath, runLogPath;
  ScratchEnvironment env{"", ""};
  WinFileSystem fs;
  WinProcessLauncher launcher;
  RunServices services{fs, launcher, env};
  const LocalTime start{2011, 3, 7, 14, 5, 0};

  void TearDown() override {
    SetEnvironmentVariableW(L"DORVIK_RECORD", nullptr);
    SetEnvironmentVariableW(L"DORVIK_RUNLOG", nullptr);
  }
  // Points the program and the stand-in's records at the scratch folder.
  void UseScratch() {
    env = ScratchEnvironment(programFolder, userFolder);
    SetEnvironmentVariableW(L"DORVIK_RECORD", Widen(recordPath).c_str());
    SetEnvironmentVariableW(L"DORVIK_RUNLOG", Widen(runLogPath).c_str());
  }
};

struct PathCase {
  const char* label;
  const char* toolFolder;
  const char* toolName;
  const char* image;
};

class RealRunPaths : public RealRun, public ::testing::WithParamInterface<PathCase> {};

TEST_P(RealRunPaths, ToolReceivesExactlyTheIntendedArguments) {
  const PathCase& c = GetParam();
  UseScratch();
  const std::string toolFolder = scratch.Path() + "\\" + c.toolFolder;
  const std::string imageFolder = toolFolder + "\\images";
  const std::string tool = InstallTool(toolFolder, c.toolName);
  ToolCommandInputs in = Inputs(tool, imageFolder, c.image);
  in.outputPath = toolFolder + "\\out " + c.image + ".txt";

  if (!env.EncodeForBatch(ComposeRunScript(in, start))) {
    // Expected where the console's code page lacks these characters; a run
    // of this program under a code page that has them covers them there.
    const char* expected = std::getenv("QUINTOR_EXPECT_OEMCP");
    if (expected != nullptr) {
      ASSERT_EQ(expected, std::to_string(GetOEMCP())) << "the locale of this run did not take";
    }
    EXPECT_FALSE(Run(in, true)) << "a script the interpreter would misread must not run";
    GTEST_SKIP() << c.label << ": not representable in code page " << GetOEMCP();
  }

  ASSERT_TRUE(Run(in, true));
  const std::map<std::string, std::string> record = ReadRecord(recordPath);
  const std::vector<std::string> expected = {"-c", "3", "-b", "6", "-n", "8", "-s", "0", "-p", "0",
                                             imageFolder + "\\" + c.image, "-output", in.outputPath, "-d"};
  EXPECT_EQ(expected, RecordedArguments(record)) << record.count("cmdline");
  EXPECT_EQ(toolFolder, record.count("cwd") ? record.at("cwd") : "") << "line 3 made the tool's folder current";
  // The tool wrote its output file where it was told.
  EXPECT_GT(fs.FileSizeOrZero(in.outputPath), 0u);
  const std::string log = ReadFileText(LogPath());
  EXPECT_NE(std::string::npos, log.find("Dorvik stand-in: done"));
  EXPECT_NE(std::string::npos, log.find("standard error"));
}

const PathCase kPathCases[] = {
    {"plain", "Bench", "Dorvik.exe", "dev002.SDL"},
    {"blanks and ampersand", "My Tools & Co", "Dor vik.exe", "image 1 & 2.bin"},
    {"percent", "100% sure", "Dorvik.exe", "a%PATH%b%%c.bin"},
    {"caret parentheses bang", "a^b (x86) wow!", "Dorvik.exe", "!OS! (1) ^x.bin"},
    {"separators", "a;b,c=d", "Dorvik.exe", "x=y;z,w.bin"},
    {"accented", "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9", "Dorvik.exe", "fa\xC3\xA7" "ade.bin"},
    {"Korean", "\xED\x95\x9C\xEA\xB8\x80 \xED\x8F\xB4\xEB\x8D\x94", "Dorvik.exe",
     "\xEC\x9D\xB4\xEB\xAF\xB8\xEC\xA7\x80 (1).bin"},
};

std::string CaseName(const ::testing::TestParamInfo<PathCase>& info) {
  std::string name;
  for (const char* p = info.param.label; *p; ++p) name += (*p == ' ') ? '_' : *p;
  return name;
}

INSTANTIATE_TEST_SUITE_P(Paths, RealRunPaths, ::testing::ValuesIn(kPathCases), CaseName);

TEST_F(RealRun, CapturedRunsKeepOnlyTheLatestOutput) {
  UseScratch();
  const std::string tool = InstallTool(scratch.Path() + "\\tool");
  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "first.bin"), true));
  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "second.bin"), true));
  const std::string log = ReadFileText(LogPath());
  EXPECT_EQ(std::string::npos, log.find("first.bin"));
  EXPECT_NE(std::string::npos, log.find("second.bin"));

  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "third.bin"), false));
  EXPECT_EQ(log, ReadFileText(LogPath()));
  EXPECT_EQ(3u, CountLines(ReadFileText(runLogPath)));
}

TEST_F(RealRun, ExitCodesAndCrashesStillCountAsRuns) {
  UseScratch();
  const std::string tool = InstallTool(scratch.Path() + "\\tool");
  {
    ScopedEnv code("DORVIK_EXIT_CODE", "3");
    EXPECT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "a.bin"), true));
  }
  {
    ScopedEnv crash("DORVIK_CRASH", "1");
    EXPECT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "b.bin"), false));
  }
  EXPECT_EQ(2u, CountLines(ReadFileText(runLogPath)));
}

TEST_F(RealRun, LargeOutputIsCapturedWhole) {
  UseScratch();
  const std::string tool = InstallTool(scratch.Path() + "\\tool");
  ScopedEnv size("DORVIK_OUTPUT_MB", "3");
  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "big.bin"), true));
  EXPECT_GT(fs.FileSizeOrZero(LogPath()), 3u * 1024 * 1024);
  EXPECT_NE(std::string::npos, ReadFileText(LogPath()).find("Dorvik stand-in: done"));
}

// Under Wine, Z: is a second drive (the host's root); elsewhere a free letter
// is mapped to a scratch folder for the test.
class SecondDrive {
 public:
  explicit SecondDrive(const ScratchFolder& scratch) {
    if (RunningUnderWine()) {
      folder_ = "Z:\\tmp\\quintor-runner-drive-" + std::to_string(GetCurrentProcessId());
      MakeFolders(folder_);
      removeTree_ = true;
      return;
    }
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'Z'; letter >= L'M'; --letter) {
      if (used & (1u << (letter - L'A'))) continue;
      const std::wstring drive = std::wstring(1, letter) + L":";
      if (DefineDosDeviceW(0, drive.c_str(), Widen(scratch.Make("drive")).c_str())) {
        mapped_ = drive;
        folder_ = Narrow(drive) + "\\sub";
        MakeFolders(folder_);
        return;
      }
    }
  }
  ~SecondDrive() {
    if (removeTree_) RemoveTree(Widen(folder_));
    if (!mapped_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, mapped_.c_str(), nullptr);
  }
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  std::wstring mapped_;
  bool removeTree_ = false;
};

TEST_F(RealRun, ToolOnAnotherDriveRuns) {
  UseScratch();
  SecondDrive drive(scratch);
  ASSERT_FALSE(drive.Folder().empty()) << "no second drive";
  ASSERT_NE(std::toupper(drive.Folder()[0]), std::toupper(programFolder[0]));
  const std::string toolFolder = drive.Folder() + "\\bench tools";
  const std::string tool = InstallTool(toolFolder);
  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "a.bin"), false));
  const std::map<std::string, std::string> record = ReadRecord(recordPath);
  EXPECT_EQ(toolFolder, record.count("cwd") ? record.at("cwd") : "");
  EXPECT_EQ(1u, CountLines(ReadFileText(runLogPath)));
}

TEST_F(RealRun, RefusedProgramFolderUsesThePerUserFolder) {
  // A program folder that cannot hold files: a path through a plain file.
  const std::string blocker = scratch.Path() + "\\blocked";
  ASSERT_TRUE(WriteFileText(blocker, "not a folder"));
  programFolder = blocker + "\\";
  UseScratch();
  const std::string tool = InstallTool(scratch.Path() + "\\tool");
  ASSERT_TRUE(Run(Inputs(tool, scratch.Path() + "\\img", "a.bin"), true));
  EXPECT_GT(fs.FileSizeOrZero(userFolder + "run_dorvik.bat"), 0u);
  EXPECT_EQ(userFolder + "Quintor_Log.txt", CaptureLogPath(services));
  EXPECT_NE(std::string::npos, ReadFileText(userFolder + "Quintor_Log.txt").find("a.bin"));
}

// "View Log" does not wait for the viewer.
TEST_F(RealRun, DetachedStartDoesNotWait) {
  UseScratch();
  const std::string tool = InstallTool(scratch.Path() + "\\tool");
  const std::wstring started = L"QuintorRunnerStarted" + std::to_wstring(GetCurrentProcessId());
  const std::wstring release = L"QuintorRunnerRelease" + std::to_wstring(GetCurrentProcessId());
  const HANDLE startedEvent = CreateEventW(nullptr, TRUE, FALSE, started.c_str());
  const HANDLE releaseEvent = CreateEventW(nullptr, TRUE, FALSE, release.c_str());
  ScopedEnv signal("DORVIK_SIGNAL_EVENT", Narrow(started));
  ScopedEnv wait("DORVIK_WAIT_EVENT", Narrow(release));
  ASSERT_TRUE(launcher.StartDetached("\"" + tool + "\" viewer-test"));
  // Still running: it waits for the release only this test gives.
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(startedEvent, 60000));
  SetEvent(releaseEvent);
  EXPECT_EQ(std::vector<std::string>{"viewer-test"}, RecordedArguments(ReadRecord(recordPath)));
  CloseHandle(startedEvent);
  CloseHandle(releaseEvent);
}

}  // namespace
