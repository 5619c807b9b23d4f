// Files dragged from the shell onto a window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// Lets `window` get WM_DROPFILES, also when Quintor runs as administrator
// and the files come from a shell of lower rights. With `accept`, the window
// takes drops (the style DragAcceptFiles sets, without loading the shell);
// without, only the messages are let through to it.
void AllowDroppedFiles(HWND window, bool accept);

// The paths of a drop, in its order; the drop is released. A shortcut
// (".lnk") stands for its target, resolved without any window and without a
// search for a look-alike; it is left out when it has no target in the file
// system, or its target is a shortcut again.
std::vector<std::string> TakeDroppedFiles(HDROP drop);
