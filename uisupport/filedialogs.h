// The shell's item-based file dialogs: no name buffer to overflow.
#pragma once

#include "uisupport/uiservices.h"

class ShellFileDialogs : public FileDialogs {
 public:
  std::vector<std::string> Choose(const FileDialogRequest& request) override;
};
