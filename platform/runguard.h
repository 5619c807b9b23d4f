// While a run's child process is being waited for, the program's windows keep
// painting but take no input, and no handler of theirs may run: input made
// during the run is dropped, never replayed afterwards.
#pragma once

#include <windows.h>

// True while a run is in progress on this thread: the dialog layer then runs
// no handler (commands, notifications, closing).
bool IsRunInProgress();

// Marks a run in progress for its lifetime; scopes may nest.
class RunInProgressScope {
 public:
  RunInProgressScope();
  ~RunInProgressScope();
  RunInProgressScope(const RunInProgressScope&) = delete;
  RunInProgressScope& operator=(const RunInProgressScope&) = delete;
};

// True for keyboard, mouse (client and non-client), touch and pointer input
// messages: the messages a run drops.
bool IsUserInputMessage(UINT message);

// Waits, without using the processor, until `object` is signalled (a child
// process has ended), inside a RunInProgressScope. Meanwhile it dispatches
// every message but user input, which it removes and drops. A WM_QUIT seen
// while waiting is posted again once the wait is over. False when the wait
// itself failed.
bool WaitKeepingWindowsPainted(HANDLE object);
