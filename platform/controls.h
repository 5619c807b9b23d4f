// Wrappers of the common controls the windows use. Texts are UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/options.h"
#include "platform/dialog.h"

// A drop-down list of the non-editable kind.
class ComboBox : public ControlWindow, public OptionList {
 public:
  void InsertString(int position, const std::string& text) override;
  void SetCurSel(int position) override;
  int GetCurSel() const override;
};

// A list view in report mode. Rows and columns are 0-based; -1 stands for
// "none" where a row is looked for.
class ListView : public ControlWindow {
 public:
  void InsertColumn(int column, const std::string& heading, int width);
  // Replaces every extended style with `styles`.
  void SetExtendedStyle(DWORD styles);

  int GetItemCount() const;
  // Appends a row, selected and focused, with an empty column 0 and `texts`
  // from column 1 on; `stateImage` nonzero sets its state image too. Returns
  // its index, or -1.
  int AppendRow(const std::vector<std::string>& texts, UINT stateImage = 0);
  // With the redraw paused: clears the selection and appends the rows, all
  // selected, as AppendRow would one by one (the last one focused); then
  // makes the last one the mark, scrolled into view.
  void AppendRowsMarked(const std::vector<std::vector<std::string>>& rows, UINT stateImage = 0);
  std::string GetItemText(int row, int column) const;
  // The next selected row after `row` (-1 for the first).
  int GetNextSelected(int row) const;
  int GetSelectedCount() const;
  void SelectAll();
  // Where a menu for the focused row opens, in screen coordinates: below the
  // row's left end, the row scrolled into view; the list's top-left corner
  // when no row has the focus.
  POINT FocusedRowMenuPoint();
  bool DeleteItem(int row);
  void DeleteAllItems();
  bool GetCheck(int row) const;

 private:
  // Appends a row with `state` (of selected and focused) as AppendRow does.
  int InsertLastRow(const std::vector<std::string>& texts, UINT state, UINT stateImage);
  void SetItemState(int row, UINT state, UINT mask);
};
