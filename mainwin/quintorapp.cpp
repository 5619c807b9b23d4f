#include "mainwin/quintorapp.h"

#include <commctrl.h>

#include "core/settings.h"
#include "mainwin/quintordlg.h"
#include "platform/owner.h"
#include "platform/filedialogs.h"
#include "platform/win_clock.h"
#include "platform/win_environment.h"
#include "platform/win_filesystem.h"
#include "platform/win_process.h"
#include "platform/win_registry.h"
#include "uisupport/folderdialog.h"
#include "uisupport/uiservices.h"

BOOL CQuintorApp::InitInstance() {
  // OLE for the shell's folder browser and file dialogs, for the life of the
  // main window.
  OleScope ole;
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
