// What a window is given to reach the operating system: the OS services and
// the dialog seams, behind which tests answer for the system's dialogs.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "core/services.h"

struct FileDialogRequest {
  enum class Kind { kOpen, kSave };
  Kind kind = Kind::kOpen;
  HWND owner = nullptr;
  // Pairs of a display text and its patterns, all separated by '|', the
  // whole closed by "||": "All File(*.exe)|*.exe||".
  std::string filter;
  // The folder to start in, as the caller holds it; it may name a file, or
  // nothing that exists.
  std::string initialFolder;
  bool multiSelect = false;
  bool fileMustExist = false;

  // An Open dialog for files that exist; a Save dialog for any name.
  static FileDialogRequest Open(HWND owner, const std::string& filter, const std::string& initialFolder,
                                bool multiSelect = false);
  static FileDialogRequest Save(HWND owner, const std::string& filter, const std::string& initialFolder);
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows the dialog modally over the request's owner. Returns the chosen
  // full paths in the dialog's order, all of them however many there are;
  // empty when the operator cancelled.
  virtual std::vector<std::string> Choose(const FileDialogRequest& request) = 0;
};

class Dialog;
// An Open dialog with `filter` over `dialog`, starting at the text of its
// field `id`; a chosen file's full path replaces that text.
void ChooseFileInto(FileDialogs& dialogs, Dialog& dialog, int id, const char* filter);

// Flags every caller passes: only file-system folders, an edit box for a
// typed name, the resizable browser.
constexpr UINT kFolderBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;  // 0x51

// Folder choice behind a seam, so tests can answer for the browser.
struct FolderPickRequest {
  HWND owner = nullptr;
  std::string title;
  std::string initialFolder;  // preselected; empty for none
  UINT flags = kFolderBrowseFlags;
};

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // Returns what CFolderDialog::DoModal returns; on IDOK `folder` holds the
  // chosen folder, otherwise it is left as it was.
  virtual int PickFolder(const FolderPickRequest& request, std::string* folder) = 0;
};

// The folder the operator chose; nothing when the browser was cancelled or
// the choice has no file-system path.
std::optional<std::string> ChooseFolder(FolderPicker& picker, HWND owner, const std::string& title,
                                        const std::string& initialFolder);

struct UiServices {
  RunServices run;
  SettingsStore& settings;
  const Clock& clock;
  FileDialogs& fileDialogs;
  FolderPicker& folderPicker;
};
