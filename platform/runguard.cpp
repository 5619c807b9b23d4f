#include "platform/runguard.h"

namespace {

// Runs happen on the one user-interface thread; the depth counts nested scopes.
int& RunDepth() {
  static int depth = 0;
  return depth;
}

}  // namespace

bool IsRunInProgress() { return RunDepth() > 0; }

RunInProgressScope::RunInProgressScope() { ++RunDepth(); }
RunInProgressScope::~RunInProgressScope() { --RunDepth(); }

bool IsUserInputMessage(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_IME_KEYLAST) ||         // keys, characters, IME keys
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||         // client-area mouse
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||  // non-client mouse
         (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE) ||     // hover and leave
         (message >= 0x0240 && message <= 0x0257) ||                      // touch and pointer input
         message == WM_INPUT;
}

bool WaitKeepingWindowsPainted(HANDLE object) {
  RunInProgressScope scope;
  bool quit = false;
  WPARAM quitCode = 0;
  bool ok = true;
  for (;;) {
    const DWORD wake = MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (wake == WAIT_OBJECT_0) break;
    if (wake != WAIT_OBJECT_0 + 1) {
      ok = false;
      break;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
        continue;
      }
      if (IsUserInputMessage(msg.message)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return ok;
}
