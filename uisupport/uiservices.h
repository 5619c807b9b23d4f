// What a window is given to reach the operating system: the OS services and
// the dialog seams. Tests pass doubles.
#pragma once

#include "core/services.h"
#include "platform/filedialogs.h"
#include "uisupport/folderdialog.h"

struct UiServices {
  RunServices run;
  SettingsStore& settings;
  const Clock& clock;
  FileDialogs& fileDialogs;
  FolderPicker& folderPicker;
};
