#include "platform/controls.h"

#include <vector>

#include <commctrl.h>

#include "platform/wide.h"

void ComboBox::InsertString(int position, const std::string& text) {
  SendMessageW(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void ComboBox::SetCurSel(int position) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(position), 0); }

int ComboBox::GetCurSel() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

int ComboBox::GetCount() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }

std::string ComboBox::GetLBText(int position) const {
  const LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == CB_ERR || length <= 0) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(text);
}

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
  // A mask of all bits replaces every extended style, not only the given ones.
  SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(~0u), static_cast<LPARAM>(styles));
}

DWORD ListView::GetExtendedStyle() const {
  return static_cast<DWORD>(SendMessageW(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

int ListView::GetColumnWidth(int column) const {
  return static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int ListView::GetItemCount() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

int ListView::InsertItem(int row, const std::string& text, UINT state, UINT stateMask) {
  std::wstring wide = Widen(text);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = row;
  item.pszText = &wide[0];
  item.state = state;
  item.stateMask = stateMask;
  return static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetItemText(int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = &wide[0];
  SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
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

UINT ListView::GetItemState(int row, UINT mask) const {
  return static_cast<UINT>(SendMessageW(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), static_cast<LPARAM>(mask)));
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

bool ListView::DeleteItem(int row) {
  return SendMessageW(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0) != FALSE;
}

void ListView::DeleteAllItems() { SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0); }

void ListView::SetSelectionMark(int row) { SendMessageW(hwnd_, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row)); }

int ListView::GetSelectionMark() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETSELECTIONMARK, 0, 0)); }

void ListView::EnsureVisible(int row) { SendMessageW(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), TRUE); }

void ListView::DeselectAll() {
  // Rows are collected first: clearing one changes what "next selected" means.
  std::vector<int> selected;
  for (int row = GetNextSelected(-1); row >= 0; row = GetNextSelected(row)) selected.push_back(row);
  for (int row : selected) SetItemState(row, 0, LVIS_SELECTED);
}

void ListView::MarkRow(int row) {
  SetSelectionMark(row);
  SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(row);
}

bool ListView::GetCheck(int row) const {
  // State image 2 is the checked box, 1 the empty one.
  return (GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void ListView::SetCheck(int row, bool checked) {
  SetItemState(row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}
