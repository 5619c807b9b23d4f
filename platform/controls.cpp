#include "platform/controls.h"

#include <commctrl.h>

#include "platform/wide.h"

void ComboBox::InsertString(int position, const std::string& text) {
  SendMessageW(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void ComboBox::SetCurSel(int position) { Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(position)); }

int ComboBox::GetCurSel() const { return static_cast<int>(Send(hwnd_, CB_GETCURSEL)); }

void ListView::InsertColumn(int column, const std::string& heading, int width) {
  std::wstring text = Widen(heading);
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = LVCFMT_LEFT;
  col.cx = width;
  col.pszText = &text[0];
  col.iSubItem = column;
  ListView_InsertColumn(hwnd_, column, &col);
}

void ListView::SetExtendedStyle(DWORD styles) {
  ListView_SetExtendedListViewStyleEx(hwnd_, ~0u, styles);
}

int ListView::GetItemCount() const { return ListView_GetItemCount(hwnd_); }

int ListView::AppendRow(const std::vector<std::string>& texts, UINT stateImage) {
  return InsertLastRow(texts, LVIS_SELECTED | LVIS_FOCUSED, stateImage);
}

int ListView::InsertLastRow(const std::vector<std::string>& texts, UINT state, UINT stateImage) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = GetItemCount();
  item.pszText = const_cast<wchar_t*>(L"");
  item.state = state | stateImage;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
  const int row = ListView_InsertItem(hwnd_, &item);
  for (size_t column = 1; row >= 0 && column <= texts.size(); ++column) {
    std::wstring wide = Widen(texts[column - 1]);
    ListView_SetItemText(hwnd_, row, static_cast<int>(column), &wide[0]);
  }
  return row;
}

// Wine's list view visits every row to clear a state of all rows, and
// scrolls to a row each time it gets the focus: only the selected rows are
// cleared, and the focus goes to the last new row alone, which leaves the
// rows as focusing each in turn would.
void ListView::AppendRowsMarked(const std::vector<std::vector<std::string>>& rows, UINT stateImage) {
  Send(hwnd_, WM_SETREDRAW, FALSE);
  for (int row = GetNextSelected(-1); row >= 0; row = GetNextSelected(row)) SetItemState(row, 0, LVIS_SELECTED);
  for (const std::vector<std::string>& texts : rows) InsertLastRow(texts, LVIS_SELECTED, stateImage);
  Send(hwnd_, WM_SETREDRAW, TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  if (rows.empty()) return;
  const int last = GetItemCount() - 1;
  ListView_SetSelectionMark(hwnd_, last);
  SetItemState(last, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd_, last, TRUE);
}

std::string ListView::GetItemText(int row, int column) const {
  // The control copies at most the buffer's size and reports how much it
  // copied; a full buffer may mean a cut text, so the buffer grows.
  for (size_t size = MAX_PATH;; size += size) {
    std::wstring buffer(size, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &buffer[0];
    item.cchTextMax = static_cast<int>(size);
    const auto copied = static_cast<size_t>(Send(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                 reinterpret_cast<LPARAM>(&item)));
    if (copied < size - 1) {
      buffer.resize(copied);
      return Narrow(buffer);
    }
  }
}

void ListView::SetItemState(int row, UINT state, UINT mask) { ListView_SetItemState(hwnd_, row, state, mask); }

int ListView::GetNextSelected(int row) const { return ListView_GetNextItem(hwnd_, row, LVNI_SELECTED); }

int ListView::GetSelectedCount() const { return static_cast<int>(ListView_GetSelectedCount(hwnd_)); }

void ListView::SelectAll() { SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }

POINT ListView::FocusedRowMenuPoint() {
  POINT at = {};
  const int row = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
  RECT bounds = {};
  if (row >= 0 && ListView_EnsureVisible(hwnd_, row, FALSE) && ListView_GetItemRect(hwnd_, row, &bounds, LVIR_BOUNDS)) {
    at = {bounds.left, bounds.bottom};
  }
  ClientToScreen(hwnd_, &at);
  return at;
}

bool ListView::DeleteItem(int row) { return ListView_DeleteItem(hwnd_, row) != FALSE; }

void ListView::DeleteAllItems() { ListView_DeleteAllItems(hwnd_); }

bool ListView::GetCheck(int row) const {
  // State image 2 is the checked box, 1 the empty one.
  return (ListView_GetItemState(hwnd_, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}
