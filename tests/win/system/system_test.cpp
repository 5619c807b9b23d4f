// The OS services on the real system: runs through the real command
// interpreter with the stand-in tool, the registry, long paths.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "bbcb/bbcbjob.h"
#include "core/settings.h"
#include "platform/wide.h"
#include "invocation/script.h"
#include "platform/winservices.h"
#include "tests/support/fakes.h"
#include "tests/win/support.h"

namespace {

// The system's services, with the program's and the per-user folder elsewhere.
class ScratchEnvironment : public WinEnvironment {
 public:
  ScratchEnvironment(std::string program, std::string user) : program_(std::move(program)), user_(std::move(user)) {}
  std::string ExecutablePath() const override { return program_ + "Quintor.exe"; }
  std::string UserDataFolder() const override { return user_; }

 private:
  std::string program_, user_;
};

std::string ReadFileText(const std::string& path) {
  std::ifstream file(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class RealRun : public ::testing::Test {
 protected:
  // A File Download of `image` in `folder` with the stand-in as `folder\tool`.
  ToolCommandInputs Download(const std::string& folder, const std::string& image, const char* tool = "Dorvik.exe") {
    EXPECT_TRUE(InstallStandin("Dorvik.exe", folder + "\\" + tool) && fs.WriteFileBytes(folder + "\\" + image, "x"));
    return FileDownloadInputs(folder + "\\" + tool, folder, image);
  }
  bool Run(const ToolCommandInputs& in, bool capture) { return RunToolScript(services, in, start, capture); }
  long Runs() const {
    const std::string text = ReadFileText(scratch.path + "\\runs.txt");
    return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
  }
  std::string Log() const { return ReadFileText(CaptureLogPath(services)); }

  const LocalTime start{2011, 3, 7, 14, 5, 0};
  ScratchFolder scratch;
  ScopedEnv recordTo{"DORVIK_RECORD", scratch.path + "\\record.txt"};
  ScopedEnv runLogTo{"DORVIK_RUNLOG", scratch.path + "\\runs.txt"};
  // The program's folder holds characters its script's start must carry.
  std::string programFolder = scratch.Make("Prog & Co (x86) ^ \xED\x95\x9C !") + "\\";
  std::string userFolder = scratch.Make("user") + "\\";
  ScratchEnvironment env{programFolder, userFolder};
  WinFileSystem fs;
  WinProcessLauncher launcher;
  RunServices services{fs, launcher, env};
};

// Label, tool folder, tool name, image.
const char* const kPathCases[][4] = {
    {"plain", "Bench", "Dorvik.exe", "dev002.SDL"},
    {"blanks_and_ampersand", "My Tools & Co", "Dor vik.exe", "image 1 & 2.bin"},
    {"percent", "100% sure", "Dorvik.exe", "a%PATH%b%%c.bin"},
    {"caret_parentheses_bang", "a^b (x86) wow!", "Dorvik.exe", "!OS! (1) ^x.bin"},
    {"separators", "a;b,c=d", "Dorvik.exe", "x=y;z,w.bin"},
    {"accented", "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9", "Dorvik.exe", "fa\xC3\xA7" "ade.bin"},
    {"Korean", "\xED\x95\x9C\xEA\xB8\x80 \xED\x8F\xB4\xEB\x8D\x94", "Dorvik.exe",
     "\xEC\x9D\xB4\xEB\xAF\xB8\xEC\xA7\x80 (1).bin"},
    {"emoji", "Bench", "Dorvik.exe", "\xF0\x9F\x98\x80.bin"},
};

class RealCmd : public RealRun, public ::testing::WithParamInterface<int> {};

// Each value reaches the tool whole, as one argument, or, where the console's
// code page cannot carry it, nothing runs. The Korean case runs again under
// the Korean code page, where it must get through.
TEST_P(RealCmd, ToolGetsEachValueAsOneArgument) {
  const char* const* c = kPathCases[GetParam()];
  const char* const codePage = std::getenv("QUINTOR_EXPECT_OEMCP");
  if (codePage) {
    ASSERT_EQ(codePage, std::to_string(GetOEMCP())) << "the locale of this run did not take";
  }
  const std::string folder = scratch.Make(c[1]);
  ToolCommandInputs in = Download(folder, c[3], c[2]);
  in.outputPath = folder + "\\out " + c[3] + ".txt";
  if (!env.EncodeForBatch(ComposeRunScript(in, start))) {
    EXPECT_EQ(codePage, nullptr) << "the expected code page carries it";
    EXPECT_FALSE(Run(in, true));
    EXPECT_EQ(Runs(), 0);
    return;
  }
  ASSERT_TRUE(Run(in, true));
  // The tool's folder was made current; the two paths came as one argument each.
  const std::string record = ReadFileText(scratch.path + "\\record.txt");
  const std::string lines[] = {"cwd=" + folder, "argc=15", "arg11=" + folder + "\\" + c[3], "arg13=" + in.outputPath};
  for (const std::string& line : lines) {
    EXPECT_NE(record.find("\r\n" + line + "\r\n"), std::string::npos) << line << "\n" << record;
  }
  EXPECT_GT(fs.FileSizeOrZero(in.outputPath), 0u);
}

INSTANTIATE_TEST_SUITE_P(Paths, RealCmd, ::testing::Range(0, 8),
                         [](const ::testing::TestParamInfo<int>& info) { return kPathCases[info.param][0]; });

TEST_F(RealRun, FaultyToolsStillRunAndTheLogKeepsTheLatestCapture) {
  const ToolCommandInputs in = Download(scratch.Make("tool"), "a.bin");
  const char* const faults[][2] = {{"DORVIK_CRASH", "1"}, {"DORVIK_EXIT_CODE", "255"}, {"DORVIK_OUTPUT_MB", "3"}};
  for (const auto& fault : faults) {
    ScopedEnv set(fault[0], fault[1]);
    EXPECT_TRUE(Run(in, true)) << fault[0];
  }
  EXPECT_GT(Log().size(), 3u << 20) << "the flood is captured whole";
  ASSERT_TRUE(Run(in, true));
  const std::string log = Log();
  EXPECT_NE(log.find("Dorvik stand-in: done"), std::string::npos);
  EXPECT_LT(log.size(), 4096u);
  ASSERT_TRUE(Run(in, false));
  EXPECT_EQ(Runs(), 5);
  // A tool that is gone runs nothing and leaves the log.
  ASSERT_TRUE(DeleteFileW(Widen(in.toolPath).c_str()));
  EXPECT_FALSE(Run(in, true));
  EXPECT_FALSE(launcher.RunAndWait("\"" + in.toolPath + "\"", ""));
  EXPECT_FALSE(launcher.RunAndWait("\"" + scratch.path + "\"", ""));  // a folder
  EXPECT_EQ(Runs(), 5);
  EXPECT_EQ(Log(), log);
}

TEST_F(RealRun, ARefusingProgramFolderSendsScriptAndLogToThePerUserFolder) {
  for (const char* name : {kRunScriptName, kCaptureLogName}) {
    ASSERT_TRUE(fs.WriteFileBytes(programFolder + name, "old"));
    SetFileAttributesW(Widen(programFolder + name).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  const ToolCommandInputs in = Download(scratch.Make("tool"), "a.bin");
  EXPECT_TRUE(Run(in, true));
  EXPECT_EQ(ReadFileText(programFolder + kRunScriptName), "old");
  EXPECT_EQ(ReadFileText(userFolder + kRunScriptName), ComposeRunScript(in, start));
  EXPECT_NE(ReadFileText(userFolder + kCaptureLogName).find("done"), std::string::npos);
  EXPECT_EQ(CaptureLogPath(services), userFolder + kCaptureLogName);
  for (const char* name : {kRunScriptName, kCaptureLogName}) {
    SetFileAttributesW(Widen(programFolder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  env = ScratchEnvironment(scratch.path + "\\gone\\", userFolder);  // a missing program folder
  EXPECT_TRUE(Run(in, false));
  EXPECT_EQ(Runs(), 2);
}

// The text viewer is started without waiting for it.
TEST_F(RealRun, DetachedStartReturnsWhileTheProgramRuns) {
  const std::string unique = std::to_string(GetCurrentProcessId());
  const std::wstring viewer = Widen("viewer-" + unique + ".exe");
  ASSERT_TRUE(InstallStandin("Dorvik.exe", scratch.path + "\\" + Narrow(viewer)));
  const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, Widen("QuintorStarted" + unique).c_str());
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, Widen("QuintorRelease" + unique).c_str());
  ScopedEnv signal("DORVIK_SIGNAL_EVENT", "QuintorStarted" + unique);
  ScopedEnv wait("DORVIK_WAIT_EVENT", "QuintorRelease" + unique);
  ASSERT_TRUE(launcher.StartDetached("\"" + scratch.path + "\\" + Narrow(viewer) + "\""));
  EXPECT_EQ(WaitForSingleObject(started, 60000), WAIT_OBJECT_0);
  // Still running: it waits for the release, which comes only after this.
  const HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  HANDLE running = nullptr;
  for (BOOL more = Process32FirstW(processes, &entry); more; more = Process32NextW(processes, &entry)) {
    if (viewer == entry.szExeFile) running = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
  }
  ASSERT_NE(running, nullptr) << "the start waited until the program had ended";
  SetEvent(release);
  EXPECT_EQ(WaitForSingleObject(running, 60000), WAIT_OBJECT_0);
  EXPECT_FALSE(launcher.StartDetached("\"" + scratch.path + "\\missing.exe\""));
  for (HANDLE h : {processes, started, release, running}) CloseHandle(h);
}

std::string Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// Values of any kind and size read whole; raw texts are written as text values
// of exactly their bytes. A stored text counts its terminating zero; one stored
// before, without it, loads whole.
TEST(Registry, ReadsEveryKindWholeAndStoresTextsWithTheirTerminator) {
  const std::string key = "Software\\QuintorTests\\system-" + std::to_string(GetCurrentProcessId());
  WinRegistryStore user(RegistryRoot::kCurrentUser);
  const DWORD baud = 115200;
  const std::pair<DWORD, std::string> values[] = {
      {REG_DWORD, std::string(reinterpret_cast<const char*>(&baud), 4)},
      {REG_MULTI_SZ, Bytes(std::wstring(L"COM3\0COM4\0\0", 11))},
      {REG_SZ, Bytes(L"D:\\\ub2e4\uc6b4 & 100% ^(x)" + std::wstring(100 * 1024, L'x') + L'\0')}};
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                            nullptr), ERROR_SUCCESS);
  for (const auto& value : values) {
    RegSetValueExW(handle, L"Read", 0, value.first, reinterpret_cast<const BYTE*>(value.second.data()),
                   static_cast<DWORD>(value.second.size()));
    EXPECT_EQ(user.Read(key, "Read")->type, value.first);
    EXPECT_TRUE(user.Read(key, "Read")->bytes == value.second) << value.first;
  }
  RegCloseKey(handle);
  for (const std::string& bytes : {Bytes(L"COM3"), std::string("\x01\x02\x03\x04"), std::string()}) {
    ASSERT_TRUE(user.Write(key, "Written", bytes));
    EXPECT_EQ(user.Read(key, "Written")->type, static_cast<uint32_t>(REG_SZ));
    EXPECT_EQ(user.Read(key, "Written")->bytes, bytes);
  }
  for (const std::string text : {"", "1", "115200", "D:\\한글\\x.exe"}) {
    const std::string bytes = Bytes(Widen(text));
    ASSERT_EQ(1, RegistryValue(kValueText, key, "New", user).Save(&text));
    EXPECT_EQ(bytes + std::string(2, '\0'), user.Read(key, "New")->bytes) << text;
    ASSERT_TRUE(user.Write(key, "Old", bytes));
    std::string loaded = "<none>";
    RegistryValue(kValueText, key, "Old", user).Load(&loaded);
    EXPECT_EQ(text, loaded);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuintorTests");  // only when no other run's key is left
}

TEST(StoredForms, ReadMeInTheWesternCodePageOrMarkedUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "the cases are for code page 1252";
  const char* const cases[][2] = {{"-sn 0A \r\n", "-sn 0A \r\n"}, {"Café", "Caf\xE9"},
                                  {"한국", "\xEF\xBB\xBF한국"}, {"Ω≈", "\xEF\xBB\xBFΩ≈"}};  // no best fit
  for (const auto& c : cases) EXPECT_EQ(c[1], EncodeBbcbReadMe(WinEnvironment(), c[0])) << c[0];
}

TEST(LongPaths, FilesAndTheCaptureLogWorkBeyondThePlainLimit) {
  ScratchFolder scratch;
  WinFileSystem fs;
  std::string deep = scratch.path;
  while (deep.size() < 300) ASSERT_TRUE(fs.CreateFolder(deep += "\\\xED\x8F\xB4\xEB\x8D\x94 " + std::string(40, 'e')));
  ASSERT_TRUE(fs.WriteFileBytes(deep + "\\ReadMe.txt", "first, longer\r\n"));
  ASSERT_TRUE(fs.WriteFileBytes(deep + "\\ReadMe.txt", "second\r\n"));
  EXPECT_EQ(fs.FileSizeOrZero(deep + "\\ReadMe.txt"), 8u);
  EXPECT_TRUE(fs.CopyFileOver(deep + "\\ReadMe.txt", deep + "\\copy.CFG"));
  EXPECT_TRUE(WinProcessLauncher().RunAndWait("cmd.exe /d /c echo captured", deep + "\\log.txt"));
  EXPECT_NE(ReadFileText("\\\\?\\" + deep + "\\log.txt").find("captured"), std::string::npos);
  for (const char* name : {"ReadMe.txt", "copy.CFG", "log.txt"}) DeleteFileW(FileApiPath(deep + "\\" + name).c_str());
  EXPECT_TRUE(RemoveDirectoryW(FileApiPath(deep).c_str())) << "a temporary file was left";
  while ((deep = deep.substr(0, deep.rfind('\\'))) != scratch.path) RemoveDirectoryW(FileApiPath(deep).c_str());
}

}  // namespace
