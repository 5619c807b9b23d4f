// Wrappers of the common controls the windows use. Texts are UTF-8.
#pragma once

#include <windows.h>

#include <string>

#include "core/options.h"
#include "platform/dialog.h"

// A drop-down list of the non-editable kind.
class ComboBox : public ControlWindow, public OptionList {
 public:
  void InsertString(int position, const std::string& text) override;
  void SetCurSel(int position) override;
  int GetCurSel() const override;
  int GetCount() const;
  std::string GetLBText(int position) const;
};

// A list view in report mode. Rows and columns are 0-based; -1 stands for
// "none" where a row is looked for.
class ListView : public ControlWindow {
 public:
  void InsertColumn(int column, const std::string& heading, int width);
  // Replaces the extended styles with `styles`.
  void SetExtendedStyle(DWORD styles);
  DWORD GetExtendedStyle() const;
  int GetColumnWidth(int column) const;

  int GetItemCount() const;
  // Inserts a row with the text of column 0 and the given states; returns
  // its index, or -1.
  int InsertItem(int row, const std::string& text, UINT state, UINT stateMask);
  void SetItemText(int row, int column, const std::string& text);
  std::string GetItemText(int row, int column) const;
  UINT GetItemState(int row, UINT mask) const;
  void SetItemState(int row, UINT state, UINT mask);
  // The next selected row after `row` (-1 for the first); -1 when none.
  int GetNextSelected(int row) const;
  int GetSelectedCount() const;
  bool DeleteItem(int row);
  void DeleteAllItems();
  void SetSelectionMark(int row);
  int GetSelectionMark() const;
  // Scrolls the row into view; partly visible is enough.
  void EnsureVisible(int row);
  // Clears the selection of every selected row. Visits the selected rows
  // only: a long history keeps this cheap.
  void DeselectAll();
  // Makes the row the selection mark, selected and focused, and scrolls it
  // into view.
  void MarkRow(int row);
  bool GetCheck(int row) const;
  void SetCheck(int row, bool checked);
};
