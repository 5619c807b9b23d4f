// The floor's main window: Quintor's template with the set-up every start
// must show (system-menu entry, icons, the two lists' columns and extended
// styles, the download list taking dropped files, centred on the screen),
// done with the plain API and nothing of Quintor's logic.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "resources/resource.h"

namespace floorwindow {

inline void AddColumn(HWND list, int column, const wchar_t* heading, int width) {
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = LVCFMT_LEFT;
  col.cx = width;
  col.pszText = const_cast<wchar_t*>(heading);
  col.iSubItem = column;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

inline void SetUp(HWND dlg) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const wchar_t* about = nullptr;
  const int length = LoadStringW(instance, IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&about), 0);
  const HMENU systemMenu = GetSystemMenu(dlg, FALSE);
  if (systemMenu && length > 0) {
    wchar_t text[128] = {};
    lstrcpynW(text, about, length < 127 ? length + 1 : 128);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
  }
  const HICON big = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  const HANDLE small = LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  SendMessageW(dlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(dlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

  const HWND files = GetDlgItem(dlg, IDC_DOWNLOAD_LIST);
  AddColumn(files, 0, L"", 18);
  AddColumn(files, 1, L"File Path", 0);
  AddColumn(files, 2, L"File Name", 340);
  const HWND history = GetDlgItem(dlg, IDC_RUN_HISTORY);
  AddColumn(history, 0, L"", 0);
  AddColumn(history, 1, L"String", 290);
  for (HWND list : {files, history}) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  }
  SetWindowLongPtrW(files, GWL_EXSTYLE, GetWindowLongPtrW(files, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);

  RECT window = {};
  RECT area = {};
  GetWindowRect(dlg, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  SetWindowPos(dlg, nullptr, (area.left + area.right - (window.right - window.left)) / 2,
               (area.top + area.bottom - (window.bottom - window.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Ends the window on its close box and on Esc; true when it did.
inline bool Close(HWND dlg, UINT message, WPARAM wParam) {
  if (message != WM_CLOSE && !(message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) return false;
  EndDialog(dlg, IDCANCEL);
  return true;
}

// Runs the window modally with `proc`, which calls SetUp on WM_INITDIALOG.
inline int Run(HINSTANCE instance, DLGPROC proc) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_QUINTOR_DIALOG), nullptr, proc, 0);
  return 0;
}

}  // namespace floorwindow
