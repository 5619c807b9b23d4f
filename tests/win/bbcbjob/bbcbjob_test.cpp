// BBCB runs end to end: the real file system, the real command interpreter and
// the maker tool stand-in, in folders whose names hold blanks, '%', '&' and
// Korean.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bbcb/bbcbjob.h"
#include "platform/winservices.h"
#include "platform/wide.h"
#include "tests/support/uidoubles.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::string bytes;
  FILE* f = _wfopen(Widen(path).c_str(), L"rb");
  if (!f) return bytes;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

// The arguments of each start of the maker tool, from its record file.
std::vector<std::vector<std::string>> RecordedRuns(const std::string& recordPath) {
  std::vector<std::vector<std::string>> runs;
  const std::string text = ReadAll(recordPath);
  for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::string line = text.substr(at, end - at);
    if (line.compare(0, 8, "cmdline=") == 0) runs.emplace_back();
    if (line.compare(0, 4, "arg=") == 0 && !runs.empty()) runs.back().push_back(line.substr(4));
  }
  return runs;
}

std::string StandInFolder() {
  std::string dir = QUINTOR_STANDIN_DIR;
  for (char& c : dir) {
    if (c == '/') c = '\\';
  }
  // A build folder given as a host path is reached through drive Z: under Wine.
  return dir[0] == '\\' ? "Z:" + dir : dir;
}

// Scripts go into a program folder of the test's own.
class TestEnvironment : public WinEnvironment {
 public:
  explicit TestEnvironment(std::string exe) : exe_(std::move(exe)) {}
  std::string ExecutablePath() const override { return exe_; }
  std::string UserDataFolder() const override { return {}; }

 private:
  std::string exe_;
};

// A fresh folder for each test.
std::string TestRoot() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  for (char& c : name) {
    if (c == '/') c = '-';
  }
  return Narrow(temp) + "quintor bbcb " + std::to_string(GetCurrentProcessId()) + " " + name;
}

// Folder and value texts of a bench.
struct Names {
  const char* label;
  const char* toolFolder;
  const char* configFolder;
  const char* configFile;
  const char* configCopy;
  const char* outputFolder;
  const char* manufacturerSn;
};

const Names kPlain = {"Plain", "my tools (x86)", "cfg & keys", "box 1.cfg", "box 1.CFG", "out 100% done",
                      "MF 001 & co"};
const Names kKorean = {"Korean", "내 도구", "설정 & cfg", "상자 설정.cfg", "상자 설정.CFG", "출력 100% 폴더",
                       "MF 001 & 한"};

class BbcbJob : public ::testing::TestWithParam<Names> {
 protected:
  void SetUp() override {
    const Names& n = GetParam();
    for (const std::string& dir : {root_, root_ + "\\program", root_ + "\\" + n.toolFolder,
                                   root_ + "\\" + n.configFolder, root_ + "\\" + n.outputFolder}) {
      ASSERT_TRUE(CreateDirectoryW(Widen(dir).c_str(), nullptr)) << dir;
    }
    in_.toolPath = root_ + "\\" + n.toolFolder + "\\irdeto_make_bbcb.exe";
    ASSERT_TRUE(CopyFileW(Widen(StandInFolder() + "\\irdeto_make_bbcb.exe").c_str(), Widen(in_.toolPath).c_str(),
                          FALSE));
    in_.configPath = root_ + "\\" + n.configFolder + "\\" + n.configFile;
    ASSERT_TRUE(fs_.WriteFileBytes(in_.configPath, "config 설정\r\n"));
    in_.outputFolder = root_ + "\\" + n.outputFolder;
    in_.serialNumber = "0012ABCD";
    in_.rn = "1a2b3c4d";
    in_.manufacturerSn = n.manufacturerSn;
    record_ = root_ + "\\record.txt";
    SetEnvironmentVariableW(L"QUINTOR_BBCB_RECORD", Widen(record_).c_str());
  }

  void TearDown() override { std::filesystem::remove_all(std::filesystem::path(Widen(root_))); }

  BbcbRun Start(LocalTime t) {
    FixedClock clock;
    clock.now = t;
    return StartBbcbRun(services_, clock, in_);
  }

  std::string root_ = TestRoot();
  std::string record_;
  BbcbInputs in_;
  WinFileSystem fs_;
  WinProcessLauncher launcher_;
  TestEnvironment env_{root_ + "\\program\\Quintor.exe"};
  RunServices services_{fs_, launcher_, env_};
};

// Korean paths run only where the command interpreter reads Korean back from
// a batch file (a Korean code page); elsewhere the run is refused whole. A run
// told to expect a code page fails when it did not get it.
bool BatchCarriesKorean() {
  const char* expected = std::getenv("QUINTOR_EXPECT_OEMCP");
  if (expected != nullptr) {
    EXPECT_EQ(expected, std::to_string(GetOEMCP())) << "the locale of this run did not take";
  }
  return WinEnvironment().EncodeForBatch("한").has_value();
}

TEST_P(BbcbJob, RunLeavesImageConfigCopyAndReadMeInTheStampedFolder) {
  const Names& n = GetParam();
  const bool runnable = n.label != std::string("Korean") || BatchCarriesKorean();
  const BbcbRun run = Start(LocalTime{2011, 3, 15, 14, 45, 0});
  const std::string folder = in_.outputFolder + "\\20110315_PM1445";
  if (!runnable) {
    EXPECT_EQ(BbcbRunStatus::kNoScript, run.status);
    EXPECT_FALSE(fs_.FolderExists(folder));
    EXPECT_TRUE(RecordedRuns(record_).empty());
    return;
  }
  ASSERT_EQ(BbcbRunStatus::kOk, run.status);
  EXPECT_EQ(folder, run.stampedFolder);

  const std::vector<std::vector<std::string>> runs = RecordedRuns(record_);
  ASSERT_EQ(1u, runs.size());
  const std::vector<std::string> expected = {
      "-config", in_.configPath, "-sn",     "0012ABCD",         "-rn", "1a2b3c4d", "-manufacturer_sn",
      n.manufacturerSn,          "-output", folder + "\\bbcb.bin"};
  EXPECT_EQ(expected, runs[0]);

  EXPECT_EQ("BBCB\r\nsn=0012ABCD\r\nrn=1a2b3c4d\r\nmanufacturer_sn=" + std::string(n.manufacturerSn) + "\r\n",
            ReadAll(folder + "\\bbcb.bin"));
  EXPECT_EQ("config 설정\r\n", ReadAll(folder + "\\" + n.configCopy));
  EXPECT_EQ(EncodeBbcbReadMe(env_, "* 2011.03.15. PM 14:45 - Make Bbcb.Bin \r\n\r\nirdeto_make_bbcb.EXE \r\n"
                                   "\t-config \"" + std::string(n.configFile) + "\" \r\n\t-sn 0012ABCD \r\n"
                                   "\t-rn 1a2b3c4d \r\n\t-manufacturer_sn \"" + n.manufacturerSn +
                                   "\" \r\n\t\r\n\t-output bbcb.bin\r\n\r\n"),
            ReadAll(folder + "\\ReadMe.txt"));
  EXPECT_TRUE(run.output.imageFound && run.output.configCopied && run.output.readMeWritten);
}

TEST_P(BbcbJob, TwoRunsInOneMinuteKeepBothImages) {
  if (GetParam().label == std::string("Korean") && !BatchCarriesKorean()) GTEST_SKIP() << "no Korean code page";
  const BbcbRun first = Start(LocalTime{2011, 2, 1, 9, 5, 1});
  in_.serialNumber = "00000002";
  const BbcbRun second = Start(LocalTime{2011, 2, 1, 9, 5, 40});
  ASSERT_EQ(BbcbRunStatus::kOk, first.status);
  ASSERT_EQ(BbcbRunStatus::kOk, second.status);
  EXPECT_EQ(in_.outputFolder + "\\20110201_AM0905", first.stampedFolder);
  EXPECT_EQ(in_.outputFolder + "\\20110201_AM0905_2", second.stampedFolder);
  EXPECT_NE(std::string::npos, ReadAll(first.stampedFolder + "\\bbcb.bin").find("sn=0012ABCD\r\n"));
  EXPECT_NE(std::string::npos, ReadAll(second.stampedFolder + "\\bbcb.bin").find("sn=00000002\r\n"));
  EXPECT_NE(std::string::npos, ReadAll(first.stampedFolder + "\\ReadMe.txt").find("-sn 0012ABCD "));
  EXPECT_NE(std::string::npos, ReadAll(second.stampedFolder + "\\ReadMe.txt").find("-sn 00000002 "));
}

INSTANTIATE_TEST_SUITE_P(Paths, BbcbJob, ::testing::Values(kPlain, kKorean),
                         [](const ::testing::TestParamInfo<Names>& info) { return std::string(info.param.label); });

}  // namespace
