#include "uisupport/aboutdlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
