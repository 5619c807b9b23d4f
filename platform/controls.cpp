#include "platform/controls.h"

#include <commctrl.h>

#include "platform/wide.h"

void ComboBox::InsertString(int position, const std::string& text) {
  SendMessageW(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void ComboBox::SetCurSel(int position) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(position), 0); }

int ComboBox::GetCurSel() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

void ListView::InsertColumn(int column, const std::string& heading, int width) {
  std::wstring text = Widen(heading);
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = LVCFMT_LEFT;
  col.cx = width;
  col.pszText = &text[0];
  col.iSubItem = column;
  SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

void ListView::SetExtendedStyle(DWORD styles) {
  SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(~0u), static_cast<LPARAM>(styles));
}

int ListView::GetItemCount() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

int ListView::AppendRow(const std::vector<std::string>& texts, UINT stateImage) {
  return InsertLastRow(texts, LVIS_SELECTED | LVIS_FOCUSED, stateImage);
}

int ListView::InsertLastRow(const std::vector<std::string>& texts, UINT state, UINT stateImage) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = GetItemCount();
  item.pszText = const_cast<wchar_t*>(L"");
  item.state = state | stateImage;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED | (stateImage != 0 ? LVIS_STATEIMAGEMASK : 0);
  const int row = static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t column = 1; row >= 0 && column <= texts.size(); ++column) {
    std::wstring wide = Widen(texts[column - 1]);
    LVITEMW sub = {};
    sub.iSubItem = static_cast<int>(column);
    sub.pszText = &wide[0];
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
  }
  return row;
}

// Wine's list view visits every row to clear a state of all rows, and
// scrolls to a row each time it gets the focus: only the selected rows are
// cleared, and the focus goes to the last new row alone, which leaves the
// rows as focusing each in turn would.
void ListView::AppendRowsMarked(const std::vector<std::vector<std::string>>& rows, UINT stateImage) {
  int last = -1;
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  for (int row = GetNextSelected(-1); row >= 0; row = GetNextSelected(row)) SetItemState(row, 0, LVIS_SELECTED);
  for (const std::vector<std::string>& texts : rows) {
    const int row = InsertLastRow(texts, LVIS_SELECTED, stateImage);
    if (row >= 0) last = row;
  }
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  if (last < 0) return;
  SendMessageW(hwnd_, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(last));
  SetItemState(last, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(last), TRUE);
}

std::string ListView::GetItemText(int row, int column) const {
  // The control copies at most the buffer's size and reports how much it
  // copied; a full buffer may mean a cut text, so the buffer grows.
  for (size_t size = 256;; size *= 2) {
    std::wstring buffer(size, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(size);
    const LRESULT copied =
        SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (copied < 0) return std::string();
    if (static_cast<size_t>(copied) < size - 1) {
      buffer.resize(static_cast<size_t>(copied));
      return Narrow(buffer);
    }
  }
}

void ListView::SetItemState(int row, UINT state, UINT mask) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int ListView::GetNextSelected(int row) const {
  return static_cast<int>(
      SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
}

int ListView::GetSelectedCount() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0)); }

void ListView::SelectAll() { SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }

POINT ListView::FocusedRowMenuPoint() {
  POINT at = {};
  const int row = static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  RECT bounds = {};
  bounds.left = LVIR_BOUNDS;
  if (row >= 0 && SendMessageW(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE) &&
      SendMessageW(hwnd_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) {
    at = {bounds.left, bounds.bottom};
  }
  ClientToScreen(hwnd_, &at);
  return at;
}

bool ListView::DeleteItem(int row) {
  return SendMessageW(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0) != FALSE;
}

void ListView::DeleteAllItems() { SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0); }

bool ListView::GetCheck(int row) const {
  // State image 2 is the checked box, 1 the empty one.
  const LRESULT state = SendMessageW(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return (static_cast<UINT>(state) >> 12) == 2;
}
