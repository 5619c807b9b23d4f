// What a window is given to reach the operating system: the OS services and
// the dialog seams, behind which tests answer for the system's dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/services.h"

struct FileDialogRequest {
  // An Open dialog takes files that exist; a Save dialog any name.
  enum Kind { kOpen, kSave };
  Kind kind = kOpen;
  HWND owner = nullptr;
  // Pairs of a display text and its patterns, all separated by '|', the
  // whole closed by "||": "All File(*.exe)|*.exe||".
  std::string filter;
  // The folder to start in, as the caller holds it; it may name a file, or
  // nothing that exists.
  std::string initialFolder;
  bool multiSelect = false;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows the dialog modally over the request's owner. Returns the chosen
  // full paths in the dialog's order, all of them however many there are;
  // empty when the operator cancelled.
  virtual std::vector<std::string> Choose(const FileDialogRequest& request) = 0;
};

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // The folder the operator chose in the browser over `owner`, which opens on
  // `initialFolder` (empty: none); nothing when it was cancelled or the
  // choice has no file-system path.
  virtual std::optional<std::string> ChooseFolder(HWND owner, const std::string& title,
                                                  const std::string& initialFolder) = 0;
};

class Dialog;
// An Open dialog with `filter` over `dialog`, starting at the text of its
// field `id`; a chosen file's full path replaces that text.
void ChooseFileInto(FileDialogs& dialogs, Dialog& dialog, int id, const char* filter);

struct UiServices {
  RunServices run;
  SettingsStore& settings;
  const Clock& clock;
  FileDialogs& fileDialogs;
  FolderPicker& folderPicker;
};
