// qtimer: the benchmarks' timings, taken from outside the measured process.
//
//   launchtime EXE ID COUNT           start EXE COUNT times; print the milliseconds until its window
//                                     shows with control ID holding text (ID 0: shows), then close it
//   runtime CAPTION ID HISTORY EVENT COUNT
//                                     click button ID COUNT times; print the milliseconds until the
//                                     named event is set (the tool started); wait for list HISTORY to grow
//   scripttime SCRIPT EVENT COUNT     start cmd on SCRIPT as Quintor does; print the milliseconds until
//                                     the named event is set
//   memory CAPTION                    print the working set of the window's process in KiB
//
// Exit code 0 on success, 1 when something did not happen in time, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/window.h"

namespace {

const double kTimeout = 60;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Starts a process; its handles are closed with the object.
class Process {
 public:
  explicit Process(std::wstring commandLine, DWORD flags = 0) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    ok_ = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi_) != 0;
  }
  ~Process() {
    if (!ok_) return;
    WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(kTimeout * 1000));
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool ok() const { return ok_; }
  DWORD id() const { return pi_.dwProcessId; }

 private:
  PROCESS_INFORMATION pi_ = {};
  bool ok_ = false;
};

// A named event the stand-in tool sets once it holds its arguments.
class ToolStarted {
 public:
  explicit ToolStarted(const char* name) : event_(CreateEventW(nullptr, FALSE, FALSE, Widen(name).c_str())) {}
  ~ToolStarted() { CloseHandle(event_); }
  ToolStarted(const ToolStarted&) = delete;
  ToolStarted& operator=(const ToolStarted&) = delete;
  bool Wait() const { return WaitForSingleObject(event_, static_cast<DWORD>(kTimeout * 1000)) == WAIT_OBJECT_0; }

 private:
  HANDLE event_;
};

// The window is found by its process, so nothing is asked of the program
// while it starts.
int LaunchTime(const char* exe, int id, int count, std::vector<double>* times) {
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Process process(L"\"" + Widen(exe) + L"\"");
    const auto ofProcess = [&](HWND hwnd) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      return pid == process.id();
    };
    HWND dlg = nullptr;
    const bool shown = process.ok() && WaitFor(kTimeout, [&] {
      dlg = FindTop(ofProcess);
      return dlg && (id == 0 || !WindowText(GetDlgItem(dlg, id)).empty());
    }, 1);
    times->push_back(MillisecondsSince(start));
    if (dlg) PostMessageW(dlg, WM_CLOSE, 0, 0);
    if (!shown) return 1;
  }
  return 0;
}

int RowCount(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }

int RunTime(const char* caption, int id, int historyId, const char* eventName, int count, std::vector<double>* times) {
  HWND dlg = FindTopWindow(Widen(caption));
  HWND button = dlg ? GetDlgItem(dlg, id) : nullptr;
  HWND history = dlg ? GetDlgItem(dlg, historyId) : nullptr;
  if (!button || !history) return 1;
  const ToolStarted started(eventName);
  for (int i = 0; i < count; ++i) {
    const int rows = RowCount(history);
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(button, BM_CLICK, 0, 0);
    if (!started.Wait()) return 1;
    times->push_back(MillisecondsSince(start));
    if (!WaitFor(kTimeout, [&] { return RowCount(history) > rows; })) return 1;
  }
  return 0;
}

int ScriptTime(const char* script, const char* eventName, int count, std::vector<double>* times) {
  const ToolStarted started(eventName);
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    // A console of its own, as the script started by the windowed program gets.
    Process cmd(L"cmd.exe /d /v:off /s /c \"\"" + Widen(script) + L"\"\"", CREATE_NEW_CONSOLE);
    if (!cmd.ok() || !started.Wait()) return 1;
    times->push_back(MillisecondsSince(start));
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
  std::vector<double> times;
  int rc = 2;
  if (verb == "launchtime" && argc == 5) rc = LaunchTime(argv[2], atoi(argv[3]), atoi(argv[4]), &times);
  if (verb == "runtime" && argc == 7) rc = RunTime(argv[2], atoi(argv[3]), atoi(argv[4]), argv[5], atoi(argv[6]), &times);
  if (verb == "scripttime" && argc == 5) rc = ScriptTime(argv[2], argv[3], atoi(argv[4]), &times);
  if (verb == "memory" && argc == 3) return Memory(argv[2]);
  for (double ms : times) std::printf("%.1f\n", ms);
  if (rc == 1) std::fprintf(stderr, "%s: did not happen within %.0f s\n", verb.c_str(), kTimeout);
  if (rc == 2) std::fprintf(stderr, "usage: see the comment at the top of timer.cpp\n");
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as the shell reading them expects
  return Run(argc, argv);
}
