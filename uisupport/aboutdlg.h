// The About box: the program's name and version.
#pragma once

#include "platform/dialog.h"
#include "resources/resource.h"

class CAboutDlg : public Dialog {
 public:
  CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
};
