// The start-up floor: what Quintor's main window costs with no logic at all.
// Quintor's own template, manifest and icon (linked in from its resources),
// its common-controls set-up and the window's visible set-up
// (floorwindow.h); the dialog procedure does that set-up and lets the window
// close, leaving the rest to the system.
#include "bench/floorwindow.h"

namespace {

INT_PTR CALLBACK FloorProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) floorwindow::SetUp(dlg);
  return message == WM_INITDIALOG || floorwindow::Close(dlg, message, wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return floorwindow::Run(instance, FloorProc); }
