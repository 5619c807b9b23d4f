// qdriver: operates Quintor's windows from outside the process, as an operator
// would, for the end-to-end scenarios. One action per invocation:
//
//   wait CAPTION [SECONDS]           wait until a visible top-level window has this caption
//   gone CAPTION [SECONDS]           wait until no such window is left
//   click CAPTION ID                 press and release the left button on control ID
//   command CAPTION ID               post WM_COMMAND ID (a menu or accelerator choice)
//   select CAPTION ID INDEX          choose row INDEX of a drop-down list
//   check CAPTION ID 0|1             set a check box by clicking it when needed
//   text CAPTION ID                  print a control's text (UTF-8)
//   enabled CAPTION ID               print 1 or 0
//   checked CAPTION ID               print 1 or 0
//   comboindex CAPTION ID            print the selected row of a drop-down list
//   settext CAPTION ID TEXT          replace an edit control's text
//   type CAPTION ID TEXT             type TEXT into a control, character by character
//   key CAPTION VK                   press and release a virtual key in the window
//   close CAPTION                    the close box
//   rows CAPTION ID                  print each list-view row: check state, then column texts, tab-separated
//   checkrow CAPTION ID ROW 0|1      tick or untick a list-view row
//   selectrows CAPTION ID ROW...     select exactly these list-view rows
//   filedialog TEXT [SECONDS]        type TEXT into the open file dialog's name field and confirm
//   folderdialog PATH [SECONDS]      type PATH into the folder browser's edit box and confirm
//   waitlike TEXT [SECONDS]          wait for a visible top-level window whose caption holds TEXT; print it
//   closelike TEXT [SECONDS]         close every such window and wait until they are gone
//   center CAPTION ID                print the screen position of a control's centre: X Y
//   repaint CAPTION [SECONDS]        invalidate the window and its controls, wait until all are painted
//   hold EVENT READY RELEASE [SECONDS]  create the named event, write the file READY, set the
//                                    event once the file RELEASE exists, then end
//   launchtime EXE CAPTION ID COUNT  start EXE COUNT times; print the milliseconds until CAPTION shows
//                                    with control ID holding text, then close it
//   runtime CAPTION ID EVENT COUNT   click control ID COUNT times; print the milliseconds until the
//                                    named event is set (the tool started), then wait for the run's end
//   scripttime SCRIPT EVENT COUNT    start cmd on SCRIPT as Quintor does; print the milliseconds until
//                                    the named event is set
//   waittext CAPTION ID TEXT [SECONDS]      wait until a control's text is TEXT (prints it when not)
//   waitrows CAPTION ID N [SECONDS]         wait until a list view holds N rows
//   waitmorerows CAPTION ID N [SECONDS]     wait until a list view holds more than N rows
//   waitenabled CAPTION ID 0|1 [SECONDS]    wait until a control is enabled (1) or disabled (0)
//   setting NAME                    print a stored setting (text under HKLM\SOFTWARE\Microsoft\Quintor)
//   store NAME TEXT                 store a setting as text
//   clearsettings                   remove the settings key (machine and user)
//   memory CAPTION                   print the working set of the window's process in KiB
//
// Exit code 0 on success, 1 when the window or control is not found in time,
// 2 on bad usage.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring Widen(const char* s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  return s;
}

// Asks the window itself, so an edit control of another process gives its
// text too (GetWindowText would give its empty caption).
std::wstring WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    length = static_cast<DWORD_PTR>(GetWindowTextLengthW(hwnd));
  }
  std::wstring w(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG, 5000,
                           &copied)) {
    GetWindowTextW(hwnd, &w[0], static_cast<int>(w.size()));
  }
  w.resize(wcslen(w.c_str()));
  return w;
}

struct FindData {
  std::wstring caption;
  std::wstring className;
  HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND hwnd, LPARAM lp) {
  FindData* fd = reinterpret_cast<FindData*>(lp);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (!fd->caption.empty() && WindowText(hwnd) != fd->caption) return TRUE;
  if (!fd->className.empty()) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (fd->className != cls) return TRUE;
  }
  fd->found = hwnd;
  return FALSE;
}

HWND FindTopWindow(const std::wstring& caption, const std::wstring& className = L"") {
  FindData fd{caption, className, nullptr};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&fd));
  return fd.found;
}

// Polls for a condition: the driver stands outside the process, so there is
// nothing to wait on but the window list.
template <class F>
bool WaitFor(double seconds, F condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

HWND RequireWindow(const char* caption, double seconds = 10) {
  HWND found = nullptr;
  WaitFor(seconds, [&] { return (found = FindTopWindow(Widen(caption))) != nullptr; });
  if (!found) std::fprintf(stderr, "no window \"%s\"\n", caption);
  return found;
}

HWND RequireControl(HWND dlg, int id) {
  HWND ctl = GetDlgItem(dlg, id);
  if (!ctl) std::fprintf(stderr, "no control %d\n", id);
  return ctl;
}

void ClickControl(HWND ctl) {
  RECT rc;
  GetClientRect(ctl, &rc);
  const LPARAM at = MAKELPARAM((rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2);
  PostMessageW(ctl, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(ctl, WM_LBUTTONUP, 0, at);
}

// List-view messages carry pointers, so their records live in the target process.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND hwnd, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) mem_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool ok() const { return mem_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(mem_) + offset; }
  bool Write(size_t offset, const void* data, size_t n) {
    return offset + n <= size_ && WriteProcessMemory(process_, at(offset), data, n, nullptr);
  }
  bool Read(size_t offset, void* data, size_t n) {
    return offset + n <= size_ && ReadProcessMemory(process_, at(offset), data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* mem_ = nullptr;
  size_t size_;
};

std::wstring RowText(HWND lv, RemoteBuffer& buf, int row, int column) {
  const size_t textOffset = 512;
  const int textChars = 2048;
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(buf.at(textOffset));
  item.cchTextMax = textChars;
  buf.Write(0, &item, sizeof item);
  const LRESULT n = SendMessageW(lv, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(buf.at(0)));
  std::wstring text(static_cast<size_t>(n), L'\0');
  if (n > 0) buf.Read(textOffset, &text[0], static_cast<size_t>(n) * sizeof(wchar_t));
  return text;
}

bool SetRowState(HWND lv, int row, UINT state, UINT mask) {
  RemoteBuffer buf(lv, sizeof(LVITEMW));
  if (!buf.ok()) return false;
  LVITEMW item = {};
  item.stateMask = mask;
  item.state = state;
  buf.Write(0, &item, sizeof item);
  return SendMessageW(lv, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(buf.at(0))) != 0;
}

// The open file dialog: the Explorer style has the name in combo box 1148,
// older ones in edit 1152.
bool ConfirmFileDialog(const char* text, double seconds) {
  HWND dlg = nullptr;
  HWND name = nullptr;
  WaitFor(seconds, [&] {
    dlg = FindTopWindow(L"", L"#32770");
    if (!dlg) return false;
    HWND combo = GetDlgItem(dlg, 1148);
    name = combo ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : GetDlgItem(dlg, 1152);
    if (!name && combo) name = combo;
    return name != nullptr;
  });
  if (!name) {
    std::fprintf(stderr, "no file dialog\n");
    return false;
  }
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
  return WaitFor(seconds, [&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); });
}

// The folder browser with an edit box (id 14148).
bool ConfirmFolderDialog(const char* path, double seconds) {
  HWND dlg = nullptr;
  HWND edit = nullptr;
  WaitFor(seconds, [&] {
    dlg = FindTopWindow(L"", L"#32770");
    edit = dlg ? GetDlgItem(dlg, 14148) : nullptr;
    return edit != nullptr;
  });
  if (!edit) {
    std::fprintf(stderr, "no folder browser\n");
    return false;
  }
  // The browser takes its result from the folder selected in its tree: the
  // path is selected there, once the browser has made its own first choice,
  // until the tree shows the folder's name; then it is typed as well.
  const std::wstring wide = Widen(path);
  const std::wstring leaf = wide.substr(wide.find_last_of(L"\\") + 1);
  const size_t pathBytes = (wide.size() + 1) * sizeof(wchar_t);
  const size_t itemOffset = (pathBytes + 15) / 16 * 16;
  const size_t textOffset = itemOffset + sizeof(TVITEMW);
  RemoteBuffer buf(dlg, textOffset + MAX_PATH * sizeof(wchar_t));
  if (!buf.ok() || !buf.Write(0, wide.c_str(), pathBytes)) return false;
  HWND tree = FindWindowExW(dlg, nullptr, L"SysTreeView32", nullptr);
  auto selectedName = [&]() -> std::wstring {
    HTREEITEM item = tree ? reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
    if (!item) return std::wstring();
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = reinterpret_cast<LPWSTR>(buf.at(textOffset));
    tv.cchTextMax = MAX_PATH;
    buf.Write(itemOffset, &tv, sizeof tv);
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buf.at(itemOffset)))) return std::wstring();
    std::wstring text(MAX_PATH, L'\0');
    buf.Read(textOffset, &text[0], MAX_PATH * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    return text;
  };
  WaitFor(seconds, [&] { return !selectedName().empty(); });
  const bool selected = WaitFor(seconds, [&] {
    SendMessageW(dlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(buf.at(0)));
    return lstrcmpiW(selectedName().c_str(), leaf.c_str()) == 0;
  });
  if (!selected) {
    std::fprintf(stderr, "the folder browser did not select %s\n", path);
    return false;
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
  return WaitFor(seconds, [&] { return !IsWindow(dlg); });
}


struct FindLikeData {
  std::wstring text;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTopLike(HWND hwnd, LPARAM lp) {
  FindLikeData* fd = reinterpret_cast<FindLikeData*>(lp);
  if (IsWindowVisible(hwnd) && WindowText(hwnd).find(fd->text) != std::wstring::npos) fd->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> FindTopWindowsLike(const std::wstring& text) {
  FindLikeData fd{text, {}};
  EnumWindows(FindTopLike, reinterpret_cast<LPARAM>(&fd));
  return fd.found;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Polls finely: the timing verbs measure what happens in the other process.
template <class F>
bool WaitFine(double seconds, F condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(1);
  }
  return true;
}

BOOL CALLBACK AddChild(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

bool NeedsPaint(HWND top) {
  std::vector<HWND> all{top};
  EnumChildWindows(top, AddChild, reinterpret_cast<LPARAM>(&all));
  for (HWND w : all) {
    if (IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE)) return true;
  }
  return false;
}

bool StartProcess(const std::wstring& commandLine, PROCESS_INFORMATION* pi, DWORD flags = 0) {
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  return CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, pi) != FALSE;
}

void PrintTimes(const std::vector<double>& ms) {
  for (double m : ms) std::printf("%.1f\n", m);
  std::fflush(stdout);
}

int LaunchTime(const char* exe, const char* caption, int id, int count) {
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    PROCESS_INFORMATION pi = {};
    const auto start = std::chrono::steady_clock::now();
    if (!StartProcess(L"\"" + Widen(exe) + L"\"", &pi)) {
      std::fprintf(stderr, "cannot start %s\n", exe);
      return 1;
    }
    HWND dlg = nullptr;
    const bool shown = WaitFine(60, [&] {
      dlg = FindTopWindow(Widen(caption));
      HWND ctl = dlg ? GetDlgItem(dlg, id) : nullptr;
      return ctl && !WindowText(ctl).empty();
    });
    const double ms = MillisecondsSince(start);
    if (dlg) PostMessageW(dlg, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!shown) {
      std::fprintf(stderr, "\"%s\" did not show\n", caption);
      return 1;
    }
    times.push_back(ms);
  }
  PrintTimes(times);
  return 0;
}

int RowCount(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }

int RunTime(const char* caption, int id, int historyId, const char* eventName, int count) {
  HWND dlg = RequireWindow(caption);
  if (!dlg) return 1;
  HWND button = RequireControl(dlg, id);
  HWND history = RequireControl(dlg, historyId);
  if (!button || !history) return 1;
  const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, Widen(eventName).c_str());
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const int rows = RowCount(history);
    const auto start = std::chrono::steady_clock::now();
    ClickControl(button);
    if (WaitForSingleObject(event, 60000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "the tool did not start\n");
      return 1;
    }
    times.push_back(MillisecondsSince(start));
    if (!WaitFor(60, [&] { return RowCount(history) > rows; })) {
      std::fprintf(stderr, "the run did not end\n");
      return 1;
    }
  }
  CloseHandle(event);
  PrintTimes(times);
  return 0;
}

int ScriptTime(const char* script, const char* eventName, int count) {
  const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, Widen(eventName).c_str());
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    PROCESS_INFORMATION pi = {};
    const auto start = std::chrono::steady_clock::now();
    // A console of its own, as the script started by the windowed program gets.
    if (!StartProcess(L"cmd.exe /d /v:off /s /c \"\"" + Widen(script) + L"\"\"", &pi, CREATE_NEW_CONSOLE)) return 1;
    if (WaitForSingleObject(event, 60000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "the tool did not start\n");
      return 1;
    }
    times.push_back(MillisecondsSince(start));
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(event);
  PrintTimes(times);
  return 0;
}

const wchar_t kSettingsKey[] = L"SOFTWARE\\Microsoft\\Quintor";

// Text values are read whatever their terminator: the data may end without one.
int PrintSetting(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
  DWORD type = 0;
  DWORD size = 0;
  const std::wstring wname = Widen(name);
  LONG rc = RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size);
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (rc == ERROR_SUCCESS) {
    rc = RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size);
  }
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return 1;
  text.resize(size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  std::printf("%s\n", Narrow(text).c_str());
  return 0;
}

int StoreSetting(const char* name, const char* value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return 1;
  }
  const std::wstring text = Widen(value);
  const LONG rc = RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? 0 : 1;
}

void ClearSettings() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(root, L"SOFTWARE\\Microsoft", 0, KEY_ALL_ACCESS, &parent) != ERROR_SUCCESS) continue;
    RegDeleteTreeW(parent, L"Quintor");
    RegDeleteKeyW(parent, L"Quintor");
    RegCloseKey(parent);
  }
}

int Run(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "clearsettings") {
    ClearSettings();
    return 0;
  }
  if (argc < 3) return 2;
  const std::string verb = argv[1];
  if (verb == "setting") return PrintSetting(argv[2]);
  if (verb == "store" && argc > 3) return StoreSetting(argv[2], argv[3]);
  const double defaultWait = 20;

  if (verb == "wait") return RequireWindow(argv[2], argc > 3 ? atof(argv[3]) : defaultWait) ? 0 : 1;
  if (verb == "gone") {
    const std::wstring caption = Widen(argv[2]);
    return WaitFor(argc > 3 ? atof(argv[3]) : defaultWait, [&] { return FindTopWindow(caption) == nullptr; }) ? 0 : 1;
  }
  if (verb == "waitlike") {
    const std::wstring text = Widen(argv[2]);
    std::vector<HWND> found;
    if (!WaitFor(argc > 3 ? atof(argv[3]) : defaultWait, [&] { return !(found = FindTopWindowsLike(text)).empty(); })) {
      std::fprintf(stderr, "no window like \"%s\"\n", argv[2]);
      return 1;
    }
    std::printf("%s\n", Narrow(WindowText(found.front())).c_str());
    return 0;
  }
  if (verb == "closelike") {
    const std::wstring text = Widen(argv[2]);
    for (HWND w : FindTopWindowsLike(text)) PostMessageW(w, WM_CLOSE, 0, 0);
    return WaitFor(argc > 3 ? atof(argv[3]) : defaultWait, [&] { return FindTopWindowsLike(text).empty(); }) ? 0 : 1;
  }
  if (verb == "hold" && argc > 4) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, Widen(argv[2]).c_str());
    const HANDLE ready = CreateFileW(Widen(argv[3]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    const std::wstring file = Widen(argv[4]);
    const bool seen = WaitFor(argc > 5 ? atof(argv[5]) : 120,
                              [&] { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; });
    SetEvent(event);
    CloseHandle(event);
    return seen ? 0 : 1;
  }
  if (verb == "launchtime" && argc > 5) return LaunchTime(argv[2], argv[3], atoi(argv[4]), atoi(argv[5]));
  if (verb == "runtime" && argc > 6) return RunTime(argv[2], atoi(argv[3]), atoi(argv[4]), argv[5], atoi(argv[6]));
  if (verb == "scripttime" && argc > 4) return ScriptTime(argv[2], argv[3], atoi(argv[4]));
  if (verb == "filedialog") return ConfirmFileDialog(argv[2], argc > 3 ? atof(argv[3]) : defaultWait) ? 0 : 1;
  if (verb == "folderdialog") return ConfirmFolderDialog(argv[2], argc > 3 ? atof(argv[3]) : defaultWait) ? 0 : 1;

  HWND dlg = RequireWindow(argv[2]);
  if (!dlg) return 1;
  if (verb == "close") {
    PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (verb == "repaint") {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return WaitFor(argc > 3 ? atof(argv[3]) : defaultWait, [&] { return !NeedsPaint(dlg); }) ? 0 : 1;
  }
  if (verb == "memory") {
    DWORD pid = 0;
    GetWindowThreadProcessId(dlg, &pid);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (process) CloseHandle(process);
    if (!ok) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(counters.WorkingSetSize / 1024));
    return 0;
  }
  if (verb == "key" && argc > 3) {
    const WPARAM vk = static_cast<WPARAM>(strtol(argv[3], nullptr, 0));
    HWND target = GetWindow(dlg, GW_ENABLEDPOPUP) ? GetWindow(dlg, GW_ENABLEDPOPUP) : dlg;
    DWORD tid = GetWindowThreadProcessId(target, nullptr);
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    if (GetGUIThreadInfo(tid, &gti) && gti.hwndFocus) target = gti.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    return 0;
  }
  if (argc < 4) return 2;
  const int id = atoi(argv[3]);
  if (verb == "command") {
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return 0;
  }
  HWND ctl = RequireControl(dlg, id);
  if (!ctl) return 1;
  if (verb == "click") {
    ClickControl(ctl);
    return 0;
  }
  if (verb == "center") {
    RECT rc;
    GetWindowRect(ctl, &rc);
    std::printf("%ld %ld\n", static_cast<long>((rc.left + rc.right) / 2), static_cast<long>((rc.top + rc.bottom) / 2));
    return 0;
  }
  if (verb == "text") {
    std::printf("%s\n", Narrow(WindowText(ctl)).c_str());
    return 0;
  }
  if (verb == "enabled") {
    std::printf("%d\n", IsWindowEnabled(ctl) ? 1 : 0);
    return 0;
  }
  if (verb == "checked") {
    std::printf("%d\n", SendMessageW(ctl, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (verb == "comboindex") {
    std::printf("%d\n", static_cast<int>(SendMessageW(ctl, CB_GETCURSEL, 0, 0)));
    return 0;
  }
  if (verb == "rows") {
    RemoteBuffer buf(ctl, 512 + 2048 * sizeof(wchar_t));
    if (!buf.ok()) return 1;
    HWND header = reinterpret_cast<HWND>(SendMessageW(ctl, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    const int rows = static_cast<int>(SendMessageW(ctl, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
      const UINT state = static_cast<UINT>(SendMessageW(ctl, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
      std::string line = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? "x" : "-";
      line += (state & LVIS_SELECTED) ? "s" : "-";
      for (int c = 0; c < columns; ++c) line += "\t" + Narrow(RowText(ctl, buf, r, c));
      std::printf("%s\n", line.c_str());
    }
    return 0;
  }
  if (argc < 5) return 2;
  if (verb == "waittext") {
    const std::wstring want = Widen(argv[4]);
    if (WaitFor(argc > 5 ? atof(argv[5]) : defaultWait, [&] { return WindowText(ctl) == want; })) return 0;
    std::fprintf(stderr, "control %d shows \"%s\", not \"%s\"\n", id, Narrow(WindowText(ctl)).c_str(), argv[4]);
    return 1;
  }
  if (verb == "waitrows") {
    const int want = atoi(argv[4]);
    if (WaitFor(argc > 5 ? atof(argv[5]) : defaultWait, [&] { return RowCount(ctl) == want; })) return 0;
    std::fprintf(stderr, "list %d holds %d rows, not %d\n", id, RowCount(ctl), want);
    return 1;
  }
  if (verb == "waitmorerows") {
    const int over = atoi(argv[4]);
    return WaitFor(argc > 5 ? atof(argv[5]) : defaultWait, [&] { return RowCount(ctl) > over; }) ? 0 : 1;
  }
  if (verb == "waitenabled") {
    const bool want = atoi(argv[4]) != 0;
    if (WaitFor(argc > 5 ? atof(argv[5]) : defaultWait, [&] { return (IsWindowEnabled(ctl) != FALSE) == want; })) return 0;
    std::fprintf(stderr, "control %d is %s\n", id, want ? "disabled" : "enabled");
    return 1;
  }
  if (verb == "select") {
    SendMessageW(ctl, CB_SETCURSEL, atoi(argv[4]), 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(ctl));
    return 0;
  }
  if (verb == "check") {
    const bool want = atoi(argv[4]) != 0;
    const bool is = SendMessageW(ctl, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (want != is) ClickControl(ctl);
    return WaitFor(defaultWait, [&] { return (SendMessageW(ctl, BM_GETCHECK, 0, 0) == BST_CHECKED) == want; }) ? 0 : 1;
  }
  if (verb == "settext") {
    SendMessageW(ctl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(argv[4]).c_str()));
    return 0;
  }
  if (verb == "type") {
    const std::wstring text = Widen(argv[4]);
    SendMessageW(ctl, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    for (wchar_t ch : text) SendMessageW(ctl, WM_CHAR, ch, 1);
    return 0;
  }
  if (verb == "checkrow" && argc > 5) {
    const UINT image = atoi(argv[5]) ? 2u : 1u;
    return SetRowState(ctl, atoi(argv[4]), INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK) ? 0 : 1;
  }
  if (verb == "selectrows") {
    SetRowState(ctl, -1, 0, LVIS_SELECTED);
    for (int i = 4; i < argc; ++i) SetRowState(ctl, atoi(argv[i]), LVIS_SELECTED, LVIS_SELECTED);
    return 0;
  }
  return 2;
}

}  // namespace

int main() {
  // Lines end in LF, as the shell that reads them expects.
  _setmode(_fileno(stdout), _O_BINARY);
  // Arguments as UTF-8, whatever the ANSI code page.
  int argc = 0;
  LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(Narrow(wargv[i]));
  LocalFree(wargv);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  const int rc = Run(argc, argv.data());
  if (rc == 2) std::fprintf(stderr, "usage: see the comment at the top of driver.cpp\n");
  return rc;
}
