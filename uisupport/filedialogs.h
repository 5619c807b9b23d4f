// The shell's file dialogs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "uisupport/uiservices.h"

// The filter text as (display text, patterns) pairs; a display text without
// patterns ends the list.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter);

// The folder a dialog should open in for `initialFolder`: the text itself
// when it names a folder, else the folder of the file it names, else empty.
std::string ResolveInitialFolder(const std::string& initialFolder);

// The shell's item-based file dialogs: no name buffer to overflow.
class ShellFileDialogs : public FileDialogs {
 public:
  std::vector<std::string> Choose(const FileDialogRequest& request) override;
};
