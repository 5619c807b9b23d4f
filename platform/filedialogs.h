// The system's file dialogs behind a small interface, so windows can be
// driven in tests with a double that returns chosen paths.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

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

  // An open dialog for files that exist.
  static FileDialogRequest Open(HWND owner, const std::string& filter, const std::string& initialFolder,
                                bool multiSelect = false);
  // A save dialog; the file need not exist.
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

// The filter text as (display text, patterns) pairs; a display text without
// patterns ends the list.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter);

// The folder a dialog should open in for `initialFolder`: the text itself
// when it names a folder, else the folder of the file it names, else empty.
std::string ResolveInitialFolder(const std::string& initialFolder);

// The shell's item-based file dialogs. Their results come as a list of items,
// so a multi-selection has no buffer to overflow. Never reads the
// read-only check box (the dialogs have none) and always returns long names.
class ShellFileDialogs : public FileDialogs {
 public:
  std::vector<std::string> Choose(const FileDialogRequest& request) override;
};
