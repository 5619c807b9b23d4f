#include "mainwin/quintorapp.h"

#include <commctrl.h>

#include "core/settings.h"
#include "mainwin/quintordlg.h"
#include "platform/filedialogs.h"
#include "platform/win_clock.h"
#include "platform/win_environment.h"
#include "platform/win_filesystem.h"
#include "platform/win_process.h"
#include "platform/win_registry.h"
#include "uisupport/folderpicker.h"
#include "uisupport/uiservices.h"

BOOL CQuintorApp::InitInstance() {
  // COM and OLE are initialised by the dialogs that need them, when the
  // operator opens one, not here: the window shows without them.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WinFileSystem fs;
  WinRegistryStore machine(RegistryRoot::kLocalMachine);
  WinRegistryStore user(RegistryRoot::kCurrentUser);
  FallbackSettingsStore settings(machine, user);
  WinProcessLauncher launcher;
  WinEnvironment env;
  WinClock clock;
  ShellFileDialogs fileDialogs;
  ShellFolderPicker folderPicker;
  UiServices services{fs, settings, launcher, env, clock, fileDialogs, folderPicker};

  CQuintorDlg dialog(services);
  dialog.DoModal(nullptr);
  return FALSE;
}
