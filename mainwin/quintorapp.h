// The application object: starts the main window modally and ends with it.
#pragma once

#include <windows.h>

class CQuintorApp {
 public:
  CQuintorApp() = default;
  // Runs the main window; returns FALSE, so the process ends when the window
  // has closed (there is no message loop of the application's own).
  BOOL InitInstance();
};
