// The OS services on the real system: runs through the real command interpreter with the stand-in
// tool, the taskbar, long paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdlib>

#include "bbcb/bbcbjob.h"
#include "invocation/script.h"
#include "platform/wide.h"
#include "platform/winservices.h"
#include "tests/support/fakes.h"
#include "tests/support/winscratch.h"

namespace {

class RealRun : public ::testing::Test, protected RealServices {
 protected:
  // A File Download of `image` in `folder`, run by a copy of the stand-in as `folder\tool`.
  ToolCommandInputs Download(const std::string& folder, const std::string& image, const char* tool = "Dorvik.exe") {
    EXPECT_TRUE(CopyStandIn(folder + "\\" + tool));
    EXPECT_TRUE(fs.WriteFileBytes(folder + "\\" + image, "x"));
    return FileDownloadInputs(folder + "\\" + tool, folder, image);
  }
  bool Run(const ToolCommandInputs& in, bool capture) { return RunToolScript(services, in, start, capture); }
  std::string Log() const { return ReadFileText(CaptureLogPath(services)); }
  const LocalTime start{2011, 3, 7, 14, 5, 0};
};

// Label, tool folder, tool name, image.
const char* const kPathCases[][4] = {
    {"plain", "Bench", "Dorvik.exe", "dev002.SDL"},
    {"specials", "My Tools & Co 100% a^b (x86) wow! a;b,c=d", "Dor vik.exe", "1 & 2 a%PATH%b%%c !OS! (1) ^x=y;z,w.bin"},
    {"accented", "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9", "Dorvik.exe", "fa\xC3\xA7" "ade.bin"},
    {"Korean", "\xED\x95\x9C\xEA\xB8\x80 \xED\x8F\xB4\xEB\x8D\x94", "Dorvik.exe",
     "\xEC\x9D\xB4\xEB\xAF\xB8\xEC\xA7\x80 (1).bin"},
    {"emoji", "Bench", "Dorvik.exe", "\xF0\x9F\x98\x80.bin"},
};

class RealCmd : public RealRun, public ::testing::WithParamInterface<int> {};

// Each value reaches the tool whole, as one argument, or, where the console's code page cannot carry it,
// nothing runs. The Korean case runs again under the Korean code page, where it must get through.
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
    EXPECT_TRUE(codePage == nullptr && !Run(in, true) && Runs() == 0u) << "nothing runs; the expected code page carries it";
    return;
  }
  ASSERT_TRUE(Run(in, true));
  // The tool's folder was made current; the two paths came as one argument each.
  const std::string record = ReadFileText(scratch.path + "\\record.txt");
  const std::string lines[] = {"cwd=" + folder, "argc=15", "arg11=" + folder + "\\" + c[3], "arg13=" + in.outputPath};
  for (const std::string& line : lines) EXPECT_NE(record.find("\r\n" + line + "\r\n"), std::string::npos) << record;
}

INSTANTIATE_TEST_SUITE_P(Paths, RealCmd, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) { return kPathCases[info.param][0]; });

TEST_F(RealRun, FaultyToolsStillRunAndTheLogKeepsTheLatestCapture) {
  const ToolCommandInputs in = Download(scratch.Make("tool"), "a.bin");
  const char* const faults[][2] = {{"DORVIK_CRASH", "1"}, {"DORVIK_EXIT_CODE", "255"}, {"DORVIK_OUTPUT_MB", "3"}};
  for (const auto& fault : faults) {
    const ScopedEnv set(fault[0], fault[1]);
    EXPECT_TRUE(Run(in, true)) << fault[0];
  }
  EXPECT_GT(Log().size(), 3u << 20) << "the flood is captured whole";
  ASSERT_TRUE(Run(in, true));
  EXPECT_TRUE(Log().find("Dorvik stand-in: done") != std::string::npos && Log().size() < 4096u);
  {  // while it runs, the script is held: another opener can only read it
    const std::string script = env.program + kRunScriptName;
    ScopedEnv probe("DORVIK_PROBE", script);
    ASSERT_TRUE(Run(in, false));
    EXPECT_NE(ReadFileText(scratch.path + "\\record.txt").find("\r\nprobe=\r\n"), std::string::npos);
    EXPECT_TRUE(fs.WriteFileBytes(script, "after the run") && DeleteFileW(Widen(script).c_str()));
  }
  // A bare program name comes from the system, never the current folder, quoted or not.
  const std::filesystem::path current = std::filesystem::current_path();
  ASSERT_TRUE(CopyStandIn(scratch.Make("current") + "\\cmd.exe"));
  std::filesystem::current_path(Widen(scratch.path + "\\current"));
  EXPECT_TRUE(launcher.RunAndWait("cmd.exe /d /c exit", "") && launcher.RunAndWait("\"cmd.exe\" /d /c exit", ""));
  std::filesystem::current_path(current);
  // A program named by its quoted path starts; one that is gone, or a folder, does not.
  EXPECT_TRUE(launcher.RunAndWait("\"" + in.toolPath + "\"", ""));
  ASSERT_TRUE(DeleteFileW(Widen(in.toolPath).c_str()));
  EXPECT_FALSE(launcher.RunAndWait("\"" + in.toolPath + "\"", ""));
  EXPECT_FALSE(launcher.RunAndWait("\"" + scratch.path + "\"", ""));
  EXPECT_FALSE(launcher.StartDetached("\"" + in.toolPath + "\""));
  EXPECT_EQ(Runs(), 6u);
}

// Values of any kind and size read whole; texts written as text values of exactly their bytes.
TEST(Registry, ReadsEveryKindWholeAndWritesTextsExactly) {
  const std::string key = "Software\\QuintorTests\\system-" + std::to_string(GetCurrentProcessId());
  WinRegistryStore user(RegistryRoot::kCurrentUser);
  const std::pair<DWORD, std::string> values[] = {{REG_DWORD, std::string("\x00\xC2\x01\x00", 4)},
      {REG_MULTI_SZ, Utf16Bytes("COM3") + Utf16Bytes("COM4") + std::string(2, '\0')},
      {REG_SZ, Utf16Bytes("D:\\\xEB\x8B\xA4\xEC\x9A\xB4 & 100% " + std::string(100 * 1024, 'x'))}, {REG_SZ, Utf16Bytes("COM3", false)}};
  for (const auto& [type, bytes] : values) {
    RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), L"Read", type, bytes.data(), static_cast<DWORD>(bytes.size()));
    EXPECT_TRUE(user.Read(key, "Read")->type == type && user.Read(key, "Read")->bytes == bytes) << type;
    EXPECT_TRUE(user.Write(key, "Written", bytes) && user.Read(key, "Written")->bytes == bytes) << type;
  }
  EXPECT_EQ(user.Read(key, "Written")->type, static_cast<uint32_t>(REG_SZ));
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuintorTests");  // only when no other run's key is left
}

// The system's taskbar list, registered in this process: notes what it is told.
struct TaskbarList : ITaskbarList3, IClassFactory {
  std::vector<std::string> told;
  HRESULT init = S_OK;
  long refs = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid == IID_IClassFactory) *object = static_cast<IClassFactory*>(this);
    if (iid == IID_IUnknown || iid == IID_ITaskbarList3) *object = static_cast<ITaskbarList3*>(this);
    return *object ? (AddRef(), S_OK) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) override {
    return QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HrInit() override { return told.push_back("init"), init; }
  HRESULT STDMETHODCALLTYPE SetProgressState(HWND window, TBPFLAG state) override {
    return told.push_back(std::to_string(reinterpret_cast<uintptr_t>(window)) + " " + std::to_string(state)), S_OK;
  }
  // Nothing else is ever asked.
#define NOT_ASKED(name, ...) HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
  NOT_ASKED(AddTab, HWND) NOT_ASKED(DeleteTab, HWND) NOT_ASKED(ActivateTab, HWND) NOT_ASKED(SetActiveAlt, HWND)
  NOT_ASKED(MarkFullscreenWindow, HWND, BOOL) NOT_ASKED(SetProgressValue, HWND, ULONGLONG, ULONGLONG)
  NOT_ASKED(RegisterTab, HWND, HWND) NOT_ASKED(UnregisterTab, HWND) NOT_ASKED(SetTabOrder, HWND, HWND)
  NOT_ASKED(SetTabActive, HWND, HWND, DWORD) NOT_ASKED(ThumbBarAddButtons, HWND, UINT, LPTHUMBBUTTON)
  NOT_ASKED(ThumbBarUpdateButtons, HWND, UINT, LPTHUMBBUTTON) NOT_ASKED(ThumbBarSetImageList, HWND, HIMAGELIST)
  NOT_ASKED(SetOverlayIcon, HWND, HICON, LPCWSTR) NOT_ASKED(SetThumbnailTooltip, HWND, LPCWSTR)
  NOT_ASKED(SetThumbnailClip, HWND, RECT*)
#undef NOT_ASKED
};

// A run shows indeterminate progress on the window's button, then none; a
// taskbar list that does not start is let go and never asked again.
TEST(SystemTaskbar, ShowsARunOnTheButtonWhereTheSystemHasATaskbar) {
  OleScope ole;
  TaskbarList list;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(CLSID_TaskbarList, static_cast<IClassFactory*>(&list), CLSCTX_INPROC_SERVER,
                                  REGCLS_MULTIPLEUSE, &cookie), S_OK);
  for (const HRESULT init : {S_OK, E_FAIL}) {
    list.init = init;
    SystemTaskbar taskbar;
    for (const bool busy : {true, false, true}) taskbar.ShowBusy(reinterpret_cast<HWND>(uintptr_t{42}), busy);
  }
  CoRevokeClassObject(cookie);
  EXPECT_EQ(list.told, (std::vector<std::string>{"init", "42 1", "42 0", "42 1", "init"}));
  EXPECT_EQ(list.refs, 0) << "every reference let go";
}

TEST(StoredForms, ReadMeInTheWesternCodePageOrMarkedUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "the cases are for code page 1252";
  const char* const cases[][2] = {{"-sn 0A \r\n", "-sn 0A \r\n"}, {"Café", "Caf\xE9"},
                                  {"한국", "\xEF\xBB\xBF한국"}, {"Ω≈", "\xEF\xBB\xBFΩ≈"}};  // no best fit
  for (const auto& c : cases) EXPECT_EQ(c[1], EncodeBbcbReadMe(WinEnvironment(), c[0])) << c[0];
}

TEST(LongPaths, FilesAndTheCaptureLogWorkBeyondThePlainLimit) {
  const std::string d = "C:\\" + std::string(245, 'd');  // 248 characters: the literal form
  const std::pair<std::string, std::wstring> forms[] = {
      {"C:\\short", L"C:\\short"}, {"C:\\" + std::string(244, 'd'), Widen("C:\\" + std::string(244, 'd'))},
      {d, Widen("\\\\?\\" + d)}, {"C:\\\\" + d.substr(3) + "\\\\x", Widen("\\\\?\\" + d + "\\x")},
      {"\\\\srv\\" + d.substr(3), Widen("\\\\?\\UNC\\srv\\" + d.substr(3))}, {d + "\\..\\x", Widen(d + "\\..\\x")},
      {d + "/x", Widen(d + "/x")}, {"\\\\?\\" + d, Widen("\\\\?\\" + d)}, {"\\\\.\\" + d, Widen("\\\\.\\" + d)},
  };
  for (const auto& [path, form] : forms) EXPECT_TRUE(FileApiPath(path) == form) << path;
  for (const char drive : std::string("AZaz@[`{")) {  // a drive letter, or a character beside the letters
    EXPECT_EQ(FileApiPath(drive + d.substr(1)), Widen((std::isalpha(drive) ? "\\\\?\\" : "") + (drive + d.substr(1))));
  }
  ScratchFolder scratch;
  WinFileSystem fs;
  std::string deep = scratch.path;
  while (deep.size() < 300) ASSERT_TRUE(fs.CreateFolder(deep += "\\\xED\x8F\xB4\xEB\x8D\x94 " + std::string(40, 'e')));
  // A temporary name taken already (a crashed write's) is passed over.
  const std::string stale = deep + "\\ReadMe.txt." + std::to_string(GetCurrentProcessId()) + "-0.tmp";
  ASSERT_TRUE(fs.WriteFileBytes(stale, "stale") && fs.WriteFileBytes(deep + "\\ReadMe.txt", "first, longer\r\n"));
  ASSERT_TRUE(fs.WriteFileBytes(deep + "\\ReadMe.txt", "second\r\n"));
  {  // held unchanged: only what it holds, and nobody writes it meanwhile
    const auto hold = fs.HoldUnchanged(deep + "\\ReadMe.txt", "second\r\n");
    EXPECT_TRUE(hold && !fs.HoldUnchanged(deep + "\\ReadMe.txt", "other\r\n") && !fs.WriteFileBytes(deep + "\\ReadMe.txt", "x"));
  }
  EXPECT_EQ(fs.FileSizeOrZero(deep + "\\ReadMe.txt") + fs.FileSizeOrZero(deep) + fs.FileSizeOrZero(stale) +
            fs.FileSizeOrZero(deep + "\\missing"), 13u);
  EXPECT_FALSE(fs.WriteFileBytes(deep + "\\missing\\ReadMe.txt", "x")) << "a folder that is not there";
  EXPECT_TRUE(fs.FolderExists(deep) && !fs.FolderExists(deep + "\\ReadMe.txt") && !fs.FolderExists(deep + "\\x"));
  EXPECT_TRUE(fs.CopyFileOver(deep + "\\ReadMe.txt", deep + "\\copy.CFG"));
  EXPECT_TRUE(WinProcessLauncher().RunAndWait("cmd.exe /d /c echo captured", deep + "\\log.txt"));
  EXPECT_NE(ReadFileText("\\\\?\\" + deep + "\\log.txt").find("captured"), std::string::npos);
  for (const char* name : {"ReadMe.txt", "copy.CFG", "log.txt", stale.c_str() + deep.size() + 1})
    DeleteFileW(FileApiPath(deep + "\\" + name).c_str());
  EXPECT_TRUE(RemoveDirectoryW(FileApiPath(deep).c_str())) << "a temporary file was left";
  while ((deep = deep.substr(0, deep.rfind('\\'))) != scratch.path) RemoveDirectoryW(FileApiPath(deep).c_str());
}

}  // namespace
