// The lists' baseline: the floor's window (floorwindow.h) whose lists do the
// visible work of Quintor's, with the plain API and nothing else:
// - files dropped on the download list become rows (folder, file name with
//   its extension upper-cased), all of them selected, the last focused and in
//   view, the rows selected before deselected;
// - "Start" appends a run's four history rows the same way.
// Redrawing is paused while the rows go in.
#include "bench/floorwindow.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using Row = std::vector<std::wstring>;

void AppendRowsMarked(HWND list, const std::vector<Row>& rows, UINT stateImage) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  LVITEMW clear = {};
  clear.stateMask = LVIS_SELECTED;
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&clear));
  }
  int last = -1;
  for (const Row& texts : rows) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(L"");
    item.state = LVIS_SELECTED | stateImage;
    item.stateMask = LVIS_SELECTED | (stateImage ? LVIS_STATEIMAGEMASK : 0);
    last = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 0; column < texts.size(); ++column) {
      ListView_SetItemText(list, last, static_cast<int>(column + 1), const_cast<wchar_t*>(texts[column].c_str()));
    }
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  // The scroll range follows the rows once redrawing is back.
  if (last >= 0) {
    ListView_SetItemState(list, last, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(list, last);
    ListView_EnsureVisible(list, last, TRUE);
  }
}

std::vector<Row> DroppedRows(HDROP drop) {
  std::vector<Row> rows;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, &path[0], static_cast<UINT>(path.size())));
    const size_t slash = path.find_last_of(L'\\');
    std::wstring name = path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) CharUpperBuffW(&name[dot], static_cast<DWORD>(name.size() - dot));
    rows.push_back({path.substr(0, slash == std::wstring::npos ? 0 : slash), name});
  }
  DragFinish(drop);
  return rows;
}

// The download list's procedure: drops here, the rest to the list's own
// procedure, kept in the list's user data.
LRESULT CALLBACK DownloadList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    AppendRowsMarked(list, DroppedRows(reinterpret_cast<HDROP>(wParam)), INDEXTOSTATEIMAGEMASK(1));
    return 0;
  }
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA)), list, message, wParam,
                         lParam);
}

void AppendRun(HWND history) {
  AppendRowsMarked(history,
                   {{L"[2011.03.07. 14:05]"},
                    {L"Dorvik.exe -c 1 -b 6 -n 8 -s 0 -p 0 -d "},
                    {L"-arg0 dev002.SDL "},
                    {L" "}},
                   0);
}

INT_PTR CALLBACK BareProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    floorwindow::SetUp(dlg);
    SetWindowTextW(dlg, L"Quintor list baseline");  // found beside Quintor's window by its caption
    const HWND list = GetDlgItem(dlg, IDC_DOWNLOAD_LIST);
    SetWindowLongPtrW(list, GWLP_USERDATA,
                      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DownloadList)));
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_START) {
    AppendRun(GetDlgItem(dlg, IDC_RUN_HISTORY));
    return TRUE;
  }
  return floorwindow::Close(dlg, message, wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return floorwindow::Run(instance, BareProc); }
