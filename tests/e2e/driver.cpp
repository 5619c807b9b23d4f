// qdriver: operates Quintor's main window from outside its process, as an operator would. One action per
// invocation; each returns once the window has handled it, so the next action never overtakes it:
//
//   waittext CAPTION ID TEXT   wait until the window shows and control ID holds TEXT
//   select CAPTION ID INDEX    choose row INDEX of a drop-down list
//   click CAPTION ID           click a button or check box (a run it starts included)
//   command CAPTION ID         post a menu choice that opens a dialog (the next action waits on it)
//   filedialog TEXT            type TEXT into the open file dialog's name field, confirm, wait until it is gone
//   key CAPTION ID VK          press the virtual key VK in a control
//   query CAPTION ID MESSAGE   print what control ID answers to MESSAGE (a number, as LVM_GETITEMCOUNT)
//   rows CAPTION ID COLUMN     print the text of COLUMN in each row of list view ID, one line a row
//   close CAPTION              the close box; wait until the window is gone
//
// Exit code 0 on success, 1 when a window or control is not there in time, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/owner.h"
#include "tests/e2e/window.h"

namespace {

const double kTimeout = 60;

// Returns once the window has handled the message; false when it has not in time.
bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, static_cast<UINT>(kTimeout * 1000),
                             result ? result : &ignored) != 0;
}

// Says what is missing; the action failed.
int Missing(const char* what, const std::wstring& name) {
  std::fprintf(stderr, "no %s \"%s\"\n", what, Narrow(name).c_str());
  return 1;
}

int ConfirmFileDialog(const std::wstring& text) {
  HWND dlg = nullptr;
  const auto fileDialog = [](HWND w) { return FileNameField(w) != nullptr; };
  if (!WaitFor(kTimeout, [&] { return (dlg = FindTop(fileDialog)) != nullptr; })) return Missing("file dialog", text);
  Send(FileNameField(dlg), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
  return WaitFor(kTimeout, [&] { return !IsWindowVisible(dlg); }) ? 0 : 1;
}

// The list view's item and text buffer live in its own process.
int PrintRows(HWND list, int column) {
  struct Remote { LVITEMW item; wchar_t text[4096]; };
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  const HandleOwner process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  auto* remote = static_cast<Remote*>(VirtualAllocEx(process.Get(), nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
  DWORD_PTR rows = 0;
  bool ok = remote && Send(list, LVM_GETITEMCOUNT, 0, 0, &rows);
  for (WPARAM row = 0; ok && row < rows; ++row) {
    Remote local = {{0, 0, column, 0, 0, remote->text, 4096}, {}};
    ok = WriteProcessMemory(process.Get(), remote, &local, sizeof local.item, nullptr) &&
         Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote)) &&
         ReadProcessMemory(process.Get(), remote, &local, sizeof local, nullptr);
    if (ok) std::printf("%s\n", Narrow(local.text).c_str());
  }
  if (remote) VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  return ok ? 0 : 1;
}

int Run(const std::vector<std::wstring>& a) {
  const size_t n = a.size();
  if (n == 3 && a[1] == L"filedialog") return ConfirmFileDialog(a[2]);
  if (n < 3) return 2;
  const std::wstring& verb = a[1];
  HWND dlg = nullptr;
  if (!WaitFor(kTimeout, [&] { return (dlg = FindTopWindow(a[2])) != nullptr; })) return Missing("window", a[2]);
  if (verb == L"close") return PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0), WaitFor(kTimeout, [&] { return !IsWindow(dlg); }) ? 0 : 1;
  if (n < 4) return 2;
  const int id = _wtoi(a[3].c_str());
  if (verb == L"command") return PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
  HWND ctl = GetDlgItem(dlg, id);
  if (!ctl) return Missing("control", a[3]);
  if (verb == L"click") return Send(ctl, BM_CLICK, 0, 0) ? 0 : 1;
  if (n < 5) return 2;
  if (verb == L"waittext")
    return WaitFor(kTimeout, [&] { return WindowText(ctl) == a[4]; }) ? 0 : Missing("such text, only", WindowText(ctl));
  const int number = _wtoi(a[4].c_str());
  if (verb == L"select")
    return Send(ctl, CB_SETCURSEL, number, 0) && Send(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(ctl)) ? 0 : 1;
  DWORD_PTR result = 0;
  if (verb == L"query" && !Send(ctl, number, 0, 0, &result)) return 1;
  if (verb == L"query") return std::printf("%d\n", static_cast<int>(result)), 0;
  if (verb == L"key") return Send(ctl, WM_KEYDOWN, number, 0) ? 0 : 1;
  if (verb == L"rows") return PrintRows(ctl, number);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as the shell reading them expects
  const int rc = Run(std::vector<std::wstring>(argv, argv + argc));
  if (rc == 2) std::fprintf(stderr, "usage: see the comment at the top of driver.cpp\n");
  return rc;
}
