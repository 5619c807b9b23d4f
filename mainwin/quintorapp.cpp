// The application object: starts the main window modally and ends with it.
#include <windows.h>
#include <commctrl.h>

#include "core/fallbackstore.h"
#include "mainwin/quintordlg.h"
#include "platform/winservices.h"
#include "uisupport/filedialogs.h"
#include "uisupport/folderdialog.h"

class CQuintorApp {
 public:
  // Runs the main window; returns FALSE, so the process ends when the window
  // has closed (there is no message loop of the application's own).
  BOOL InitInstance();
};

BOOL CQuintorApp::InitInstance() {
  // COM and OLE start in the dialogs that need them, when the operator opens
  // one: the window shows without loading the shell.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WinFileSystem fs;
  WinRegistryStore machine(RegistryRoot::kLocalMachine);
  WinRegistryStore user(RegistryRoot::kCurrentUser);
  FallbackSettingsStore settings(machine, user);
  SystemTaskbar taskbar;
  WinProcessLauncher launcher(&taskbar);
  WinEnvironment env;
  WinClock clock;
  ShellFileDialogs fileDialogs;
  ShellFolderPicker folderPicker;
  UiServices services{{fs, launcher, env}, settings, clock, fileDialogs, folderPicker};

  CQuintorDlg dialog(services);
  dialog.DoModal(nullptr);
  return FALSE;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CQuintorApp app;
  app.InitInstance();
  return 0;
}
