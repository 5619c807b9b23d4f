// Folder choice behind a small interface, so windows can be driven in tests
// with a double that returns a chosen folder.
#pragma once

#include <windows.h>

#include <string>

#include "uisupport/folderdialog.h"

struct FolderPickRequest {
  HWND owner = nullptr;
  std::string title;
  std::string initialFolder;  // preselected; empty for none
  UINT flags = kFolderBrowseFlags;
};

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // Returns what CFolderDialog::DoModal returns (1 chosen, 2 cancelled, -1
  // no file-system path); on 1 `folder` holds the chosen folder, otherwise it
  // is left as it was.
  virtual int PickFolder(const FolderPickRequest& request, std::string* folder) = 0;
};

// The shell's folder browser through CFolderDialog.
class ShellFolderPicker : public FolderPicker {
 public:
  int PickFolder(const FolderPickRequest& request, std::string* folder) override;
};
