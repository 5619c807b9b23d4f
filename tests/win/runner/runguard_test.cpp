// While a run waits, windows paint and other messages are handled, but user
// input is dropped and never replayed.
#include <gtest/gtest.h>

#include <map>

#include "platform/runguard.h"
#include "platform/winservices.h"
#include "tests/win/runner/winsupport.h"

namespace {

constexpr UINT kReleaseMessage = WM_APP + 1;
constexpr UINT kLaterMessage = WM_APP + 2;

struct WindowLog {
  std::map<UINT, int> counts;
  bool runInProgressAtRelease = false;
  HANDLE release = nullptr;
};

WindowLog* g_log = nullptr;  // the test window's record; one window at a time

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_log != nullptr) ++g_log->counts[message];
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case kReleaseMessage:
      g_log->runInProgressAtRelease = IsRunInProgress();
      // Input made during the run, and a message after it.
      PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
      PostMessageW(hwnd, WM_LBUTTONUP, 0, 0);
      PostMessageW(hwnd, kLaterMessage, 0, 0);
      SetEvent(g_log->release);  // lets the child end
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

TEST(RunGuard, WaitPaintsAndDropsInput) {
  ScratchFolder scratch;
  const std::string tool = scratch.Path() + "\\Dorvik.exe";
  ASSERT_TRUE(CopyInto(StandinPath("Dorvik.exe"), tool));
  const std::wstring releaseName = L"QuintorRunGuardRelease" + std::to_wstring(GetCurrentProcessId());
  WindowLog log;
  log.release = CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
  g_log = &log;
  ScopedEnv wait("DORVIK_WAIT_EVENT", Narrow(releaseName));
  ScopedEnv record("DORVIK_RECORD", scratch.Path() + "\\record.txt");
  ScopedEnv runs("DORVIK_RUNLOG", scratch.Path() + "\\runs.txt");

  WNDCLASSW wc = {};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuintorRunGuardTest";
  RegisterClassW(&wc);
  const HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"run guard", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                    100, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(nullptr, hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  log.counts.clear();

  // Queued before the run starts: input, a repaint, a quit request and the
  // message that releases the child.
  PostMessageW(hwnd, WM_KEYDOWN, 'A', 0);
  PostMessageW(hwnd, WM_CHAR, 'a', 0);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCLOSE, 0);
  PostMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  PostMessageW(hwnd, WM_SYSKEYDOWN, VK_F4, 1 << 29);
  InvalidateRect(hwnd, nullptr, TRUE);
  PostQuitMessage(7);
  PostMessageW(hwnd, kReleaseMessage, 0, 0);

  EXPECT_FALSE(IsRunInProgress());
  WinProcessLauncher launcher;
  ASSERT_TRUE(launcher.RunAndWait("\"" + tool + "\" guard", ""));
  EXPECT_FALSE(IsRunInProgress());

  EXPECT_TRUE(log.runInProgressAtRelease);
  EXPECT_EQ(1, log.counts[kReleaseMessage]);
  EXPECT_EQ(1, log.counts[kLaterMessage]);
  EXPECT_GE(log.counts[WM_PAINT], 1);
  for (UINT input : {UINT(WM_KEYDOWN), UINT(WM_CHAR), UINT(WM_LBUTTONDOWN), UINT(WM_LBUTTONUP), UINT(WM_NCLBUTTONDOWN),
                     UINT(WM_MOUSEWHEEL), UINT(WM_SYSKEYDOWN)}) {
    EXPECT_EQ(0, log.counts[input]) << "input message " << input << " reached the window";
  }

  // Nothing is replayed afterwards; the quit request is kept.
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(7u, msg.wParam);
      continue;
    }
    EXPECT_FALSE(IsUserInputMessage(msg.message)) << msg.message;
    DispatchMessageW(&msg);
  }
  EXPECT_TRUE(quit);
  EXPECT_EQ(0, log.counts[WM_KEYDOWN]);

  g_log = nullptr;
  DestroyWindow(hwnd);
  CloseHandle(log.release);
}

}  // namespace
