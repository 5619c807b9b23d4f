// While a run's child process is waited for, the program's windows keep
// painting but take no input, and the dialog layer runs no handler of theirs
// (commands, notifications, closing): input made during the run is dropped,
// never replayed afterwards. The run shows itself on the taskbar and by the
// app-starting pointer.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <memory>

#include "platform/owner.h"

bool IsRunInProgress();

// Marks a run in progress on this thread for its lifetime; scopes may nest.
class RunInProgressScope {
 public:
  RunInProgressScope();
  ~RunInProgressScope();
  RunInProgressScope(const RunInProgressScope&) = delete;
  RunInProgressScope& operator=(const RunInProgressScope&) = delete;
};

// Keyboard, mouse (client and non-client), touch and pointer input: what a
// run drops.
bool IsUserInputMessage(UINT message);

// The taskbar button of the program's main window.
class Taskbar {
 public:
  virtual ~Taskbar() = default;
  // Indeterminate progress while `busy`, else none.
  virtual void ShowBusy(HWND window, bool busy) = 0;
  // Flashes the button until the window comes to the front.
  virtual void Flash(HWND window) = 0;
};

// The system's taskbar, brought in when a run first shows itself; where the
// system has none, nothing shows.
class SystemTaskbar : public Taskbar {
 public:
  void ShowBusy(HWND window, bool busy) override;
  void Flash(HWND window) override;

 private:
  std::unique_ptr<OleScope> ole_;
  ComRef<ITaskbarList3> list_;
};

// Waits in a RunInProgressScope, without using the processor, until `object`
// is signalled, dispatching every message but user input, which it drops. A
// WM_QUIT seen meanwhile is posted again afterwards. Meanwhile the taskbar
// (if any) shows the main window busy (this thread's visible window without
// an owner), and a button left behind by the operator flashes afterwards.
void WaitKeepingWindowsPainted(HANDLE object, Taskbar* taskbar);
