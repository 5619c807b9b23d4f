#include "platform/runguard.h"

namespace {

// Runs happen on the one user-interface thread.
int runDepth = 0;

BOOL CALLBACK TakeUnownedWindow(HWND hwnd, LPARAM found) {
  if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

HWND MainWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &TakeUnownedWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool InFront() {
  DWORD process;
  return GetWindowThreadProcessId(GetForegroundWindow(), &process) && process == GetCurrentProcessId();
}

// Lets the window under the pointer set it again, as a move of the mouse would.
void RefreshPointer() {
  POINT at = {};
  GetCursorPos(&at);
  const HWND under = WindowFromPoint(at);
  if (GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;  // none, or another program's
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
}

void Wait(HANDLE object) {
  RunInProgressScope scope;
  SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
  bool quit = false;
  WPARAM quitCode = 0;
  while (MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
      } else if (!IsUserInputMessage(msg.message)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace

bool IsRunInProgress() { return runDepth > 0; }

RunInProgressScope::RunInProgressScope() { ++runDepth; }
RunInProgressScope::~RunInProgressScope() { --runDepth; }

bool IsUserInputMessage(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_IME_KEYLAST) ||         // keys, characters, IME keys
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||         // client-area mouse
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||  // non-client mouse
         (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE) ||     // hover and leave
         (message >= 0x0240 && message <= 0x0257) ||                      // touch and pointer input
         message == WM_INPUT;
}

void SystemTaskbar::ShowBusy(HWND window, bool busy) {
  if (!ole_) {
    ole_ = std::make_unique<OleScope>();
    if (FAILED(lazy::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                      reinterpret_cast<void**>(list_.Out()))) ||
        FAILED(list_.Get()->HrInit())) {
      list_.Reset();
    }
  }
  if (list_.Valid()) list_.Get()->SetProgressState(window, busy ? TBPF_INDETERMINATE : TBPF_NOPROGRESS);
}

void SystemTaskbar::Flash(HWND window) {
  FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
}

void WaitKeepingWindowsPainted(HANDLE object, Taskbar* taskbar) {
  const HWND window = taskbar ? MainWindow() : nullptr;
  if (window) taskbar->ShowBusy(window, true);
  Wait(object);
  if (window) {
    taskbar->ShowBusy(window, false);
    if (!InFront()) taskbar->Flash(window);
  }
  RefreshPointer();
}
