// qtimer: the benchmarks' timings, taken from outside the measured process.
//
//   launchtime COUNT EXE...           COUNT rounds of starting each EXE in turn; print a line a round:
//                                     for each EXE, the milliseconds until its window is visible and
//                                     until the process waits for input (WaitForInputIdle)
//   droptime CAPTION ID XDROP COUNT URIS...
//                                     COUNT times: empty list ID, drop the files of each URIS file on it
//                                     in turn with the host program XDROP; print the milliseconds from
//                                     the last drop until the list holds all the files' rows and the
//                                     window has painted
//   appendtime CAPTION ID HISTORY COUNT [SIGNAL RELEASE]
//                                     COUNT times: click button ID (its command posted); print the milliseconds until list
//                                     HISTORY has grown and the window has painted. With the events,
//                                     the click starts the stand-in tool: it sets SIGNAL, holds until
//                                     RELEASE, and the time runs from the end of the window's child
//                                     processes (the run's end)
//   fill CAPTION ID ROWS              append ROWS rows to list ID, as runs of four leave them
//   runtime CAPTION ID HISTORY EVENT COUNT
//                                     click button ID COUNT times; print the milliseconds until the
//                                     named event is set (the tool started); wait for list HISTORY to grow
//   scripttime SCRIPT EVENT COUNT     start cmd on SCRIPT as Quintor does; print the milliseconds until
//                                     the named event is set
//   memory CAPTION                    print the working set of the window's process in KiB
//
// A window is "handled and painted" once a message sent to the list answers
// (the window's thread answers only between its handlers) with the rows
// there, and a redraw of the window from here, which has its thread paint
// what is pending, has returned. Under Wine the process's input-idle state
// is set once and never cleared, so only the start-up can wait on it.
//
// Exit code 0 on success, 1 when something failed or did not happen in time, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/window.h"

namespace {

const double kTimeout = 60;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Starts a process; its handles are closed with the object. A host program
// started through Wine runs without handles.
class Process {
 public:
  explicit Process(std::wstring commandLine, DWORD flags = 0) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    ok_ = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi_) != 0;
  }
  ~Process() {
    if (!pi_.hProcess) return;
    WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(kTimeout * 1000));
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool ok() const { return ok_; }
  DWORD id() const { return pi_.dwProcessId; }
  HANDLE handle() const { return pi_.hProcess; }

 private:
  PROCESS_INFORMATION pi_ = {};
  bool ok_ = false;
};

// A named event shared with the stand-in tool.
class NamedEvent {
 public:
  explicit NamedEvent(const char* name) : event_(CreateEventW(nullptr, FALSE, FALSE, Widen(name).c_str())) {}
  ~NamedEvent() { CloseHandle(event_); }
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;
  bool Wait() const { return WaitForSingleObject(event_, static_cast<DWORD>(kTimeout * 1000)) == WAIT_OBJECT_0; }
  void Set() const { SetEvent(event_); }

 private:
  HANDLE event_;
};

// One start of `exe`: the milliseconds until its window is visible and until
// the process first waits for input. The window is found by its process, so
// nothing is asked of the program while it starts.
bool StartOnce(const std::wstring& exe, double* visible, double* idle) {
  const auto start = std::chrono::steady_clock::now();
  Process process(L"\"" + exe + L"\"");
  const auto ofProcess = [&](HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid == process.id();
  };
  if (!process.ok()) return false;
  // Under Wine every call of WaitForInputIdle takes a new handle of the
  // event, so it is waited on once, by a thread of its own.
  std::atomic<double> idleAt(-1);
  std::thread waiter([&] {
    if (WaitForInputIdle(process.handle(), static_cast<DWORD>(kTimeout * 1000)) == 0) {
      idleAt = MillisecondsSince(start);
    }
  });
  HWND dlg = nullptr;
  *visible = -1;
  const bool shown = WaitFor(kTimeout, [&] {
    if ((dlg = FindTop(ofProcess)) != nullptr) *visible = MillisecondsSince(start);
    return dlg != nullptr;
  }, 1);
  waiter.join();
  *idle = idleAt;
  if (dlg) PostMessageW(dlg, WM_CLOSE, 0, 0);
  return shown && *idle >= 0;
}

// The programs are started in turn, so they see the same machine, after one
// unprinted round: the first start of a program pays for the first load of
// the system DLLs, and the first window of the session for Wine's desktop
// process, which stays while this process runs.
int LaunchTime(int count, const std::vector<std::wstring>& exes) {
  for (int round = 0; round <= count; ++round) {
    std::string line;
    for (const std::wstring& exe : exes) {
      double visible = 0;
      double idle = 0;
      if (!StartOnce(exe, &visible, &idle)) return 1;
      char figures[64];
      std::snprintf(figures, sizeof figures, "%s%.1f %.1f", line.empty() ? "" : " ", visible, idle);
      line += figures;
    }
    if (round > 0) std::printf("%s\n", line.c_str());
  }
  return 0;
}

int RowCount(HWND lv) {
  DWORD_PTR rows = 0;
  SendMessageTimeoutW(lv, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, static_cast<UINT>(kTimeout * 1000), &rows);
  return static_cast<int>(rows);
}

// See the comment at the top.
bool WaitHandledAndPainted(HWND top, HWND list, int rows) {
  if (!WaitFor(kTimeout, [&] { return RowCount(list) >= rows; }, 1)) return false;
  return RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

// Control `id` of the window with `caption`, the window raised above the
// others (the baseline's window stands over Quintor's) and its painting done.
HWND Control(const char* caption, int id, HWND* dlg) {
  *dlg = FindTopWindow(Widen(caption));
  if (!*dlg) return nullptr;
  SetWindowPos(*dlg, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(*dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return GetDlgItem(*dlg, id);
}

long long PerformanceCounter() {
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double CounterMilliseconds(long long counts) {
  LARGE_INTEGER frequency = {};
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counts) / static_cast<double>(frequency.QuadPart);
}

// The point where files dropped on the list land on it. Wine hands an X
// drop to the topmost child under the point, group boxes included (Windows
// passes them by): siblings over the list's centre go to the bottom of the
// window's order first, which changes nothing they show.
bool DropPoint(HWND dlg, HWND list, POINT* at) {
  RECT r = {};
  GetWindowRect(list, &r);
  *at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  for (int turn = 0; turn < 100; ++turn) {
    POINT client = *at;
    ScreenToClient(dlg, &client);
    const HWND top = ChildWindowFromPointEx(dlg, client, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE);
    if (top == list) return true;
    if (!top || top == dlg) return false;
    SetWindowPos(top, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return false;
}

// The files of a text/uri-list file: its lines that are not empty.
int UriCount(const char* uris) {
  std::ifstream in(uris);
  int count = 0;
  for (std::string line; std::getline(in, line);) count += line.find_first_not_of("\r") != std::string::npos;
  return count;
}

// Drops the files of `uris` on the list and waits until it holds `rows`;
// the milliseconds from the drop, or -1.
double DropOnce(HWND dlg, HWND list, POINT at, const char* xdrop, const char* uris, int rows) {
  const char* stamp = "xdrop-stamp.txt";  // in the current folder, which the host program shares
  DeleteFileW(Widen(stamp).c_str());
  const std::wstring command = Widen(xdrop) + L" " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) + L" " +
                               Widen(uris) + L" " + Widen(stamp);
  const long long launched = PerformanceCounter();
  if (!Process(command).ok() || !WaitHandledAndPainted(dlg, list, rows)) return -1;
  const long long done = PerformanceCounter();
  // The host program writes the drop's moment once the window has finished
  // with the drop, read from the clock QueryPerformanceCounter reads (a
  // moment outside the two taken here says the clocks differ).
  long long dropped = 0;
  if (!WaitFor(kTimeout, [&] { return static_cast<bool>(std::ifstream(stamp) >> dropped); }, 1)) return -1;
  if (dropped < launched || dropped > done) {
    std::fprintf(stderr, "droptime: the drop's moment is not on this clock\n");
    return -1;
  }
  return CounterMilliseconds(done - dropped);
}

int DropTime(const char* caption, int id, const char* xdrop, int count, const std::vector<const char*>& uris) {
  HWND dlg = nullptr;
  const HWND list = Control(caption, id, &dlg);
  POINT at = {};
  if (!list || !DropPoint(dlg, list, &at)) return 1;
  for (int i = 0; i < count; ++i) {
    SendMessageTimeoutW(list, LVM_DELETEALLITEMS, 0, 0, SMTO_NORMAL, static_cast<UINT>(kTimeout * 1000), nullptr);
    RedrawWindow(dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    int rows = 0;
    double ms = -1;
    for (const char* files : uris) {
      rows += UriCount(files);
      if ((ms = DropOnce(dlg, list, at, xdrop, files, rows)) < 0) return 1;
    }
    std::printf("%.1f\n", ms);
  }
  return 0;
}

// The ids of the processes `parent` started that still run.
std::vector<DWORD> Children(DWORD parent) {
  std::vector<DWORD> children;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return children;
}

// The processes `parent` started since `before` was taken, open to wait on.
std::vector<HANDLE> OpenNewChildren(DWORD parent, const std::vector<DWORD>& before) {
  std::vector<HANDLE> children;
  for (DWORD id : Children(parent)) {
    if (std::find(before.begin(), before.end(), id) != before.end()) continue;
    if (const HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, id)) children.push_back(child);
  }
  return children;
}

// The end of a run of the stand-in tool started by a click: the tool sets
// `signal` once it holds its arguments and waits for `release`; the run ends
// when the processes the click started (the ones the window waits on) have.
class RunEnd {
 public:
  RunEnd(DWORD window, const char* signal, const char* release)
      : window_(window), started_(signal), released_(release), before_(Children(window)) {}
  // Releases the tool and returns once the run's processes have ended.
  bool Wait() {
    if (!started_.Wait()) return false;
    std::vector<HANDLE> children = OpenNewChildren(window_, before_);
    released_.Set();
    const DWORD ended = children.empty() ? WAIT_FAILED
                                         : WaitForMultipleObjects(static_cast<DWORD>(children.size()),
                                                                  children.data(), TRUE,
                                                                  static_cast<DWORD>(kTimeout * 1000));
    for (HANDLE child : children) CloseHandle(child);
    return ended < WAIT_OBJECT_0 + children.size();
  }

 private:
  DWORD window_;
  NamedEvent started_;
  NamedEvent released_;
  std::vector<DWORD> before_;  // the window's own children (Wine's desktop process may be one)
};

int AppendTime(const char* caption, int id, int historyId, int count, const char* signal, const char* release) {
  HWND dlg = nullptr;
  const HWND button = Control(caption, id, &dlg);
  const HWND history = dlg ? GetDlgItem(dlg, historyId) : nullptr;
  DWORD pid = 0;
  if (!button || !history || !GetWindowThreadProcessId(dlg, &pid)) return 1;
  for (int i = 0; i < count; ++i) {
    const int rows = RowCount(history);
    std::unique_ptr<RunEnd> run(signal ? new RunEnd(pid, signal, release) : nullptr);
    auto start = std::chrono::steady_clock::now();
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (run && !run->Wait()) return 1;
    if (run) start = std::chrono::steady_clock::now();
    if (!WaitHandledAndPainted(dlg, history, rows + 1)) return 1;
    std::printf("%.1f\n", MillisecondsSince(start));
  }
  return 0;
}

// Memory in another process, freed with the object.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process), base_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteMemory() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  char* At(size_t offset) const { return static_cast<char*>(base_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    return base_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* base_;
};

// The rows of earlier runs of one tool row each; the last run's rows are
// selected, its last row focused, as a run leaves them.
int Fill(const char* caption, int id, int rows) {
  HWND dlg = nullptr;
  const HWND list = Control(caption, id, &dlg);
  DWORD pid = 0;
  if (!list || !GetWindowThreadProcessId(list, &pid)) return 1;
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  const wchar_t* const lines[] = {L"[2011.03.07. 14:05]", L"Dorvik.exe -c 1 -b 6 -n 8 -s 0 -p 0 -d ",
                                  L"-arg0 dev002.SDL ", L" "};
  const size_t kText = sizeof(LVITEMW);
  bool ok = true;
  {
    RemoteMemory memory(process, 4096);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const int first = RowCount(list);
    for (int i = 0; ok && i < rows; ++i) {
      const std::wstring text = lines[i % 4];
      const bool lastRun = i >= rows - 4;
      LVITEMW item = {};
      item.mask = LVIF_TEXT | LVIF_STATE;
      item.iItem = first + i;
      item.pszText = reinterpret_cast<wchar_t*>(memory.At(kText));
      item.state = (lastRun ? LVIS_SELECTED : 0) | (i == rows - 1 ? LVIS_FOCUSED : 0);
      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      ok = memory.Write(kText, L"", sizeof(wchar_t)) && memory.Write(0, &item, sizeof item);
      const LRESULT row = ok ? SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(memory.At(0))) : -1;
      item = {};
      item.iSubItem = 1;
      item.pszText = reinterpret_cast<wchar_t*>(memory.At(kText));
      ok = row >= 0 && memory.Write(kText, text.c_str(), (text.size() + 1) * sizeof(wchar_t)) &&
           memory.Write(0, &item, sizeof item) &&
           SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.At(0)));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(RowCount(list) - 1), TRUE);
    InvalidateRect(list, nullptr, TRUE);
    RedrawWindow(dlg, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  CloseHandle(process);
  return ok ? 0 : 1;
}

int RunTime(const char* caption, int id, int historyId, const char* eventName, int count) {
  HWND dlg = nullptr;
  const HWND button = Control(caption, id, &dlg);
  const HWND history = dlg ? GetDlgItem(dlg, historyId) : nullptr;
  if (!button || !history) return 1;
  const NamedEvent started(eventName);
  for (int i = 0; i < count; ++i) {
    const int rows = RowCount(history);
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(button, BM_CLICK, 0, 0);
    if (!started.Wait()) return 1;
    std::printf("%.1f\n", MillisecondsSince(start));
    if (!WaitFor(kTimeout, [&] { return RowCount(history) > rows; })) return 1;
  }
  return 0;
}

int ScriptTime(const char* script, const char* eventName, int count) {
  const NamedEvent started(eventName);
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    // A console of its own, as the script started by the windowed program gets.
    Process cmd(L"cmd.exe /d /v:off /s /c \"\"" + Widen(script) + L"\"\"", CREATE_NEW_CONSOLE);
    if (!cmd.ok() || !started.Wait()) return 1;
    std::printf("%.1f\n", MillisecondsSince(start));
  }
  return 0;
}

int Memory(const char* caption) {
  HWND dlg = FindTopWindow(Widen(caption));
  DWORD pid = 0;
  if (!dlg || !GetWindowThreadProcessId(dlg, &pid)) return 1;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
  if (process) CloseHandle(process);
  if (!ok) return 1;
  std::printf("%lu\n", static_cast<unsigned long>(counters.WorkingSetSize / 1024));
  return 0;
}

int Run(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  int rc = 2;
  if (verb == "launchtime" && argc >= 4) {
    std::vector<std::wstring> exes;
    for (int i = 3; i < argc; ++i) exes.push_back(Widen(argv[i]));
    rc = LaunchTime(atoi(argv[2]), exes);
  }
  if (verb == "droptime" && argc >= 7) {
    rc = DropTime(argv[2], atoi(argv[3]), argv[4], atoi(argv[5]), std::vector<const char*>(argv + 6, argv + argc));
  }
  if (verb == "appendtime" && (argc == 6 || argc == 8)) {
    rc = AppendTime(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), argc == 8 ? argv[6] : nullptr,
                    argc == 8 ? argv[7] : nullptr);
  }
  if (verb == "fill" && argc == 5) rc = Fill(argv[2], atoi(argv[3]), atoi(argv[4]));
  if (verb == "runtime" && argc == 7) rc = RunTime(argv[2], atoi(argv[3]), atoi(argv[4]), argv[5], atoi(argv[6]));
  if (verb == "scripttime" && argc == 5) rc = ScriptTime(argv[2], argv[3], atoi(argv[4]));
  if (verb == "memory" && argc == 3) return Memory(argv[2]);
  if (rc == 1) std::fprintf(stderr, "%s: failed, or did not happen within %.0f s\n", verb.c_str(), kTimeout);
  if (rc == 2) std::fprintf(stderr, "usage: see the comment at the top of timer.cpp\n");
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as the shell reading them expects
  return Run(argc, argv);
}
