// Drives the main window in-process: the real window on its template, with
// doubles of the OS services and of the file dialogs and folder picker.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/text.h"
#include "mainwin/quintordlg.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/fakes.h"
#include "tests/support/uidoubles.h"

struct ListRow {
  bool checked;
  std::string folder;  // column 1
  std::string name;    // column 2 (column 1 of the run history)
  bool selected;
  bool operator==(const ListRow& o) const {
    return checked == o.checked && folder == o.folder && name == o.name && selected == o.selected;
  }
};

inline std::ostream& operator<<(std::ostream& os, const ListRow& r) {
  return os << "{" << r.checked << ", " << r.folder << ", " << r.name << ", " << r.selected << "}";
}

class MainWindowTest : public ::testing::Test, public WindowDriver<CQuintorDlg> {
 protected:
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FixedClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};

  void SetUp() override { clock.now = LocalTime{2011, 3, 7, 14, 5, 0}; }
  void TearDown() override { Close(); }

  void Open() { ASSERT_TRUE(Show(new CQuintorDlg(services))); }
  void Menu(int command) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0); }
  // Ticks or unticks a check box as a click does.
  void SetCheck(int id, bool on) {
    if (Checked(id) == on) return;
    SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
  }
  bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  std::string Text(int id) const { return Narrow(ModalWindowWatcher::Text(Item(id))); }

  // Chooses a row of a drop-down list as the operator does.
  void Select(int id, int row) {
    SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
  }
  int Selection(int id) const { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }
  std::string SelectedText(int id) const {
    const int row = Selection(id);
    if (row < 0) return std::string();
    wchar_t text[64] = {};
    SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return Narrow(text);
  }

  std::string Cell(int list, int row, int column) const {
    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(Item(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
  }
  int RowCount(int list) const { return static_cast<int>(SendMessageW(Item(list), LVM_GETITEMCOUNT, 0, 0)); }
  UINT RowState(int list, int row, UINT mask) const {
    return static_cast<UINT>(SendMessageW(Item(list), LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
  }
  std::vector<ListRow> Rows() const {
    std::vector<ListRow> rows;
    for (int i = 0; i < RowCount(IDC_DOWNLOAD_LIST); ++i) {
      rows.push_back({(RowState(IDC_DOWNLOAD_LIST, i, LVIS_STATEIMAGEMASK) >> 12) == 2,
                      Cell(IDC_DOWNLOAD_LIST, i, 1), Cell(IDC_DOWNLOAD_LIST, i, 2),
                      (RowState(IDC_DOWNLOAD_LIST, i, LVIS_SELECTED) & LVIS_SELECTED) != 0});
    }
    return rows;
  }
  std::vector<std::string> History() const {
    std::vector<std::string> lines;
    for (int i = 0; i < RowCount(IDC_RUN_HISTORY); ++i) lines.push_back(Cell(IDC_RUN_HISTORY, i, 1));
    return lines;
  }
  std::vector<bool> HistorySelection() const {
    std::vector<bool> selected;
    for (int i = 0; i < RowCount(IDC_RUN_HISTORY); ++i) {
      selected.push_back((RowState(IDC_RUN_HISTORY, i, LVIS_SELECTED) & LVIS_SELECTED) != 0);
    }
    return selected;
  }
  void SetRowChecked(int row, bool on) {
    LVITEMW item = {};
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(Item(IDC_DOWNLOAD_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  void SelectRows(const std::vector<int>& rows) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageW(Item(IDC_DOWNLOAD_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows) {
      SendMessageW(Item(IDC_DOWNLOAD_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }

  // "Insert" of the popup menu, the dialog answering with `paths`.
  void Insert(const std::vector<std::string>& paths) {
    files.answers.push_back(paths);
    Menu(ID_POPUP_INSERT);
  }
  void ChooseTool(const std::string& path) {
    fs.AddFile(path, "MZ");
    files.answers.push_back({path});
    Click(IDC_TOOL_OPEN);
  }

  // A stored text value, or "<none>".
  std::string Stored(const std::string& name) const {
    auto it = store.values.find(FakeSettingsStore::Key(kSettingsKeyPath, name));
    if (it == store.values.end()) return "<none>";
    std::u16string text;
    for (size_t i = 0; i + 1 < it->second.bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<unsigned char>(it->second.bytes[i]) |
                                    (static_cast<unsigned char>(it->second.bytes[i + 1]) << 8));
    }
    while (!text.empty() && text.back() == 0) text.pop_back();  // stored with its terminating zero
    return Utf16ToUtf8(text);
  }
  void Store(const std::string& name, const std::string& text) { store.SetText(kSettingsKeyPath, name, text); }

  std::string ScriptPath() const { return "C:\\Program Files\\Quintor\\run_dorvik.bat"; }
};
