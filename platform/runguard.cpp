#include "platform/runguard.h"

namespace {

// Runs happen on the one user-interface thread.
int runDepth = 0;

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

bool WaitKeepingWindowsPainted(HANDLE object) {
  RunInProgressScope scope;
  bool quit = false;
  WPARAM quitCode = 0;
  DWORD wake;
  while ((wake = MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE)) ==
         WAIT_OBJECT_0 + 1) {
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
  return wake == WAIT_OBJECT_0;
}
