// The About box: the program's name and version.
#pragma once

#include "platform/dialog.h"

class CAboutDlg : public Dialog {
 public:
  CAboutDlg();
};
