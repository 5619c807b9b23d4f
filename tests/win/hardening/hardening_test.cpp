// Bad input and faults on the real system: values of other kinds in the
// registry, paths beyond the plain length limit, tools that crash, fail,
// flood the capture log or are gone.
#include <gtest/gtest.h>

#include "core/options.h"
#include "core/settings.h"
#include "invocation/script.h"
#include "platform/wide.h"
#include "platform/winservices.h"
#include "tests/support/runinputs.h"
#include "tests/win/runner/winsupport.h"

namespace {

class StoredKinds : public ::testing::Test {
 protected:
  void SetUp() override { keyPath = "Software\\QuintorTests\\hardening-" + std::to_string(GetCurrentProcessId()); }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(keyPath).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuintorTests");
  }
  void Set(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath).c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, Widen(name).c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
  }
  std::string keyPath;
  WinRegistryStore user{RegistryRoot::kCurrentUser};
};

std::string Wide(const std::wstring& w) { return std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2); }

TEST_F(StoredKinds, EveryKindLoadsSoundlyAndTheNextSaveReadsBack) {
  const DWORD dword = 115200;
  const unsigned long long qword = 5000000000ULL;
  const std::wstring huge = L"E:\\" + std::wstring(100 * 1024, L'x');
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    const char* expected;  // nullptr: refused, the field keeps its value
  };
  const Case cases[] = {
      {"Dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&dword), 4), "115200"},
      {"Qword", REG_QWORD, std::string(reinterpret_cast<const char*>(&qword), 8), "5000000000"},
      {"Binary", REG_BINARY, "\x01\x02\x03", nullptr},
      {"MultiOne", REG_MULTI_SZ, Wide(std::wstring(L"COM3") + L'\0' + L'\0'), "COM3"},
      {"MultiTwo", REG_MULTI_SZ, Wide(std::wstring(L"COM3") + L'\0' + L"COM4" + L'\0' + L'\0'), nullptr},
      {"Expand", REG_EXPAND_SZ, Wide(L"%TEMP%\\img"), "%TEMP%\\img"},
      {"EmptySz", REG_SZ, "", ""},
      {"EmptyBinary", REG_BINARY, "", ""},
      {"Korean", REG_SZ, Wide(L"D:\\다운로드\\Élément & 100% ^(x)"), "D:\\다운로드\\Élément & 100% ^(x)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Set(c.name, c.type, c.bytes);
    std::string text = "<kept>";
    RegistryValue(kValueText, keyPath, c.name, user).Load(&text);
    EXPECT_EQ(c.expected != nullptr ? c.expected : "<kept>", text);
    ASSERT_EQ(1, RegistryValue(kValueText, keyPath, c.name, user).Save(&text));
    std::string back;
    ASSERT_EQ(1, RegistryValue(kValueText, keyPath, c.name, user).Load(&back));
    EXPECT_EQ(text, back);
  }
  Set("Huge", REG_SZ, Wide(huge));
  std::string text;
  ASSERT_EQ(1, RegistryValue(kValueText, keyPath, "Huge", user).Load(&text));
  EXPECT_EQ(Narrow(huge), text);
}

// A scratch folder whose own path is longer than the plain limit.
class LongPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    deep = scratch.Path();
    for (int i = 0; deep.size() < 300; ++i) {
      deep += "\\level " + std::to_string(i) + " 폴더 " + std::string(20, 'e');
      ASSERT_TRUE(fs.CreateFolder(deep) || fs.FolderExists(deep)) << deep.size();
    }
  }
  void TearDown() override { RemoveTree(L"\\\\?\\" + Widen(scratch.Path())); }
  ScratchFolder scratch;
  WinFileSystem fs;
  WinProcessLauncher launcher;
  std::string deep;
};

TEST_F(LongPaths, FileServicesWorkBeyondThePlainLimit) {
  ASSERT_GT(deep.size(), 300u);
  EXPECT_TRUE(fs.FolderExists(deep));
  const std::string file = deep + "\\ReadMe.txt";
  ASSERT_TRUE(fs.WriteFileBytes(file, "line\r\n"));
  EXPECT_EQ(6u, fs.FileSizeOrZero(file));
  ASSERT_TRUE(fs.WriteFileBytes(file, "replaced\r\n"));
  EXPECT_EQ(10u, fs.FileSizeOrZero(file));
  ASSERT_TRUE(fs.CopyFileOver(file, deep + "\\copy.CFG"));
  EXPECT_EQ(10u, fs.FileSizeOrZero(deep + "\\copy.CFG"));
  EXPECT_FALSE(fs.CreateFolder(deep));  // already there
  // A path the system would have to resolve is not taken literally.
  EXPECT_EQ(Widen(deep + "\\..\\x"), FileApiPath(deep + "\\..\\x"));
}

TEST_F(LongPaths, CaptureLogBeyondThePlainLimitIsWritten) {
  const std::string log = deep + "\\Quintor_Log.txt";
  ASSERT_TRUE(launcher.RunAndWait("cmd.exe /d /c echo captured", log));
  EXPECT_NE(std::string::npos, ReadFileText("\\\\?\\" + log).find("captured"));
}

class FaultyTools : public ::testing::Test {
 protected:
  void SetUp() override {
    programFolder = scratch.Make("Prog") + "\\";
    userFolder = scratch.Make("user") + "\\";
    env = ScratchEnvironment(programFolder, userFolder);
    toolFolder = scratch.Make("R&D (tools) 100% ^ é");
    tool = toolFolder + "\\Dorvik.exe";
    ASSERT_TRUE(CopyInto(StandinPath("Dorvik.exe"), tool));
    SetEnvironmentVariableW(L"DORVIK_RECORD", Widen(scratch.Path() + "\\record.txt").c_str());
    SetEnvironmentVariableW(L"DORVIK_RUNLOG", Widen(runLog()).c_str());
    images = scratch.Make("images");
    WriteFileText(images + "\\a.bin", "image");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"DORVIK_RECORD", nullptr);
    SetEnvironmentVariableW(L"DORVIK_RUNLOG", nullptr);
  }
  std::string runLog() const { return scratch.Path() + "\\runs.txt"; }
  ToolCommandInputs Inputs() const { return FileDownloadInputs(tool, images, "a.bin"); }
  bool Run(bool capture) { return RunToolScript(services, Inputs(), LocalTime{2011, 3, 7, 14, 5, 0}, capture); }
  size_t Runs() const {
    const std::string text = ReadFileText(runLog());
    size_t n = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++n;
    return n;
  }

  ScratchFolder scratch;
  std::string programFolder, userFolder, toolFolder, tool, images;
  ScratchEnvironment env{"", ""};
  WinFileSystem fs;
  WinProcessLauncher launcher;
  RunServices services{fs, launcher, env};
};

TEST_F(FaultyTools, EachFaultLeavesTheNextRunWorking) {
  {
    ScopedEnv crash("DORVIK_CRASH", "1");
    EXPECT_TRUE(Run(true));
  }
  {
    ScopedEnv code("DORVIK_EXIT_CODE", "255");
    EXPECT_TRUE(Run(true));
  }
  {
    ScopedEnv flood("DORVIK_OUTPUT_MB", "50");
    EXPECT_TRUE(Run(true));
    EXPECT_GT(fs.FileSizeOrZero(programFolder + "Quintor_Log.txt"), 50u * 1024 * 1024);
  }
  EXPECT_EQ(3u, Runs());
  // The next run replaces the flood with its own few lines.
  ASSERT_TRUE(Run(true));
  EXPECT_EQ(4u, Runs());
  EXPECT_LT(fs.FileSizeOrZero(programFolder + "Quintor_Log.txt"), 4096u);
  EXPECT_NE(std::string::npos, ReadFileText(programFolder + "Quintor_Log.txt").find("Dorvik stand-in: done"));
}

TEST_F(FaultyTools, VanishedToolRunsNothingItCouldBeBlamedFor) {
  ASSERT_TRUE(DeleteFileW(Widen(tool).c_str()));
  EXPECT_FALSE(Run(true));  // not a run: nothing started, nothing to record
  EXPECT_EQ(0u, Runs());
  EXPECT_EQ(std::string::npos, ReadFileText(programFolder + "Quintor_Log.txt").find("Dorvik stand-in"));
  ASSERT_TRUE(CopyInto(StandinPath("Dorvik.exe"), tool));
  EXPECT_TRUE(Run(false));
  EXPECT_EQ(1u, Runs());
}

TEST_F(FaultyTools, ProgramThatCannotStartIsReportedAsNotRun) {
  EXPECT_FALSE(launcher.RunAndWait("\"" + scratch.Path() + "\\missing.exe\"", programFolder + "log.txt"));
  EXPECT_FALSE(launcher.RunAndWait("\"" + toolFolder + "\"", std::string()));  // a folder
  EXPECT_TRUE(Run(false));
  EXPECT_EQ(1u, Runs());
}

TEST_F(FaultyTools, ReadOnlyProgramFolderFallsBackToThePerUserFolder) {
  // A program folder that refuses files: its script and log already exist read-only.
  for (const char* name : {"run_dorvik.bat", "Quintor_Log.txt"}) {
    const std::string path = programFolder + name;
    ASSERT_TRUE(WriteFileText(path, "old"));
    ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  ASSERT_TRUE(Run(true));
  EXPECT_EQ("old", ReadFileText(programFolder + "run_dorvik.bat"));
  EXPECT_GT(fs.FileSizeOrZero(userFolder + "run_dorvik.bat"), 0u);
  EXPECT_EQ(userFolder + "Quintor_Log.txt", CaptureLogPath(services));
  EXPECT_NE(std::string::npos, ReadFileText(userFolder + "Quintor_Log.txt").find("a.bin"));

  env = ScratchEnvironment(scratch.Path() + "\\gone\\", userFolder);  // a missing program folder
  ASSERT_TRUE(Run(false));
  EXPECT_EQ(2u, Runs());
}

}  // namespace
