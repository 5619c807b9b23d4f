// While a run's child process is waited for, the program's windows keep
// painting but take no input, and the dialog layer runs no handler of theirs
// (commands, notifications, closing): input made during the run is dropped,
// never replayed afterwards.
#pragma once

#include <windows.h>

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

// Waits in a RunInProgressScope, without using the processor, until `object`
// is signalled, dispatching every message but user input, which it drops. A
// WM_QUIT seen meanwhile is posted again afterwards. False when the wait
// itself failed.
bool WaitKeepingWindowsPainted(HANDLE object);
