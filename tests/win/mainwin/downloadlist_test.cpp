// The download file list: "Insert", "Delete", the popup menu, its keys and
// files dropped on it.
#include "tests/win/mainwin/support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <functional>

#include "platform/runguard.h"

namespace {

const char kInsertFilter[] =
    "Irdeto Download File(*.bin,*.dnl,*.sdl,*.vdl,*.kfb)|*.bin;*.dnl;*.sdl;*.vdl;*.kfb|All Files(*.*)|*.*||";

// Catches the popup menu of the window when it opens, notes the state of
// "Delete" and closes the menu again.
struct PopupProbe {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    PopupProbe* self = reinterpret_cast<PopupProbe*>(data);
    if (message == WM_INITMENUPOPUP) {
      HMENU menu = reinterpret_cast<HMENU>(wParam);
      ++self->opened;
      self->deleteState = GetMenuState(menu, ID_POPUP_DELETE, MF_BYCOMMAND);
      self->insertState = GetMenuState(menu, ID_POPUP_INSERT, MF_BYCOMMAND);
      self->dvtState = GetMenuState(menu, ID_POPUP_DVT_FILE_INSERT, MF_BYCOMMAND);
      self->items = GetMenuItemCount(menu);
      PostMessageW(hwnd, WM_APP, 0, 0);  // handled in the menu's loop, once it is shown
    }
    if (message == WM_APP) {
      GetWindowRect(FindWindowW(L"#32768", nullptr), &self->at);
      EndMenu();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  int opened = 0;
  int items = 0;
  UINT deleteState = 0, insertState = 0, dvtState = 0;
  RECT at = {};
};

// A drop as the shell posts it: the header, then each wide path with its
// zero, and one zero more. The block is moveable, so its handle is known
// to be invalid once the drop is released.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) list += Widen(path) + L'\0';
  const size_t bytes = (list.size() + 1) * sizeof(wchar_t);
  const HGLOBAL handle = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(handle));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, list.c_str(), bytes);
  GlobalUnlock(handle);
  return static_cast<HDROP>(handle);
}

}  // namespace

TEST_F(MainWindowTest, InsertIntoAnEmptyListAddsOneSelectedUncheckedRow) {
  Open();
  Insert({"E:\\load\\dev002.sdl"});
  EXPECT_EQ(Rows(), (std::vector<ListRow>{{false, "E:\\load", "dev002.SDL", true}}));
  EXPECT_TRUE(RowState(IDC_DOWNLOAD_LIST, 0, LVIS_FOCUSED) & LVIS_FOCUSED);
  EXPECT_EQ(SendMessageW(Item(IDC_DOWNLOAD_LIST), LVM_GETSELECTIONMARK, 0, 0), 0);

  ASSERT_EQ(files.requests.size(), 1u);
  const FileDialogRequest& request = files.requests[0];
  EXPECT_EQ(request.kind, FileDialogRequest::Kind::kOpen);
  EXPECT_EQ(request.filter, kInsertFilter);
  EXPECT_TRUE(request.multiSelect);
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_EQ(request.initialFolder, "");
  EXPECT_EQ(request.owner, hwnd);
}

TEST_F(MainWindowTest, InsertTakesEveryChosenFileInTheDialogsOrder) {
  Open();
  Insert({"E:\\load\\image", "E:\\load\\b.kfb", "E:\\이미지\\a.vdl"});
  EXPECT_EQ(Rows(), (std::vector<ListRow>{{false, "E:\\load", "image", true},
                                          {false, "E:\\load", "b.KFB", true},
                                          {false, "E:\\이미지", "a.VDL", true}}));
  EXPECT_TRUE(RowState(IDC_DOWNLOAD_LIST, 2, LVIS_FOCUSED) & LVIS_FOCUSED);

  // Far more names than an 8191-character buffer would hold.
  std::vector<std::string> many;
  for (int i = 0; i < 400; ++i) many.push_back("F:\\a rather long folder name\\images\\image_" + std::to_string(i) + ".bin");
  Insert(many);
  EXPECT_EQ(RowCount(IDC_DOWNLOAD_LIST), 403);
  EXPECT_EQ(Cell(IDC_DOWNLOAD_LIST, 402, 2), "image_399.BIN");
}

TEST_F(MainWindowTest, InsertSkipsFilesAlreadyListedIgnoringCaseAndDeselectsEarlierRows) {
  Open();
  Insert({"E:\\load\\bbcb.bin", "E:\\load\\dev002.sdl"});
  SetRowChecked(0, true);
  Insert({"e:\\LOAD\\BBCB.BIN", "E:\\load\\new.dnl", "E:\\Load\\Dev002.Sdl"});
  EXPECT_EQ(Rows(), (std::vector<ListRow>{{true, "E:\\load", "bbcb.BIN", false},
                                          {false, "E:\\load", "dev002.SDL", false},
                                          {false, "E:\\load", "new.DNL", true}}));

  // Only duplicates: nothing is added, the earlier selection still goes.
  SelectRows({0, 1});
  Insert({"E:\\load\\NEW.dnl"});
  EXPECT_EQ(RowCount(IDC_DOWNLOAD_LIST), 3);
  for (const ListRow& row : Rows()) EXPECT_FALSE(row.selected);
}

TEST_F(MainWindowTest, CancelledInsertLeavesListAndSelectionAsTheyWere) {
  Open();
  Insert({"E:\\load\\a.bin", "E:\\load\\b.bin"});
  SelectRows({0});
  Insert({});
  EXPECT_EQ(Rows(), (std::vector<ListRow>{{false, "E:\\load", "a.BIN", true}, {false, "E:\\load", "b.BIN", false}}));
}

TEST_F(MainWindowTest, DeleteRemovesEverySelectedRowCheckedOrNot) {
  Open();
  Insert({"E:\\load\\r0.bin", "E:\\load\\r1.bin", "E:\\load\\r2.bin", "E:\\load\\r3.bin", "E:\\load\\r4.bin"});
  SetRowChecked(1, true);
  SetRowChecked(2, true);
  SelectRows({1, 3});
  Menu(ID_POPUP_DELETE);
  EXPECT_EQ(Rows(), (std::vector<ListRow>{{false, "E:\\load", "r0.BIN", false},
                                          {true, "E:\\load", "r2.BIN", false},
                                          {false, "E:\\load", "r4.BIN", false}}));
  Menu(ID_POPUP_DELETE);  // nothing selected
  EXPECT_EQ(RowCount(IDC_DOWNLOAD_LIST), 3);
  SelectRows({0, 1, 2});
  Menu(ID_POPUP_DELETE);
  EXPECT_EQ(RowCount(IDC_DOWNLOAD_LIST), 0);
}

TEST_F(MainWindowTest, PopupMenuGreysDeleteWithoutASelection) {
  Open();
  ShowWindow(hwnd, SW_SHOW);
  PopupProbe probe;
  SetWindowSubclass(hwnd, &PopupProbe::Proc, 1, reinterpret_cast<DWORD_PTR>(&probe));
  NMITEMACTIVATE click = {};
  click.hdr.hwndFrom = Item(IDC_DOWNLOAD_LIST);
  click.hdr.idFrom = IDC_DOWNLOAD_LIST;
  click.hdr.code = NM_RCLICK;
  click.iItem = -1;

  SendMessageW(hwnd, WM_NOTIFY, IDC_DOWNLOAD_LIST, reinterpret_cast<LPARAM>(&click));
  ASSERT_EQ(probe.opened, 1);
  EXPECT_EQ(probe.items, 3);
  EXPECT_EQ(probe.deleteState & (MF_GRAYED | MF_DISABLED), static_cast<UINT>(MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(probe.insertState & (MF_GRAYED | MF_DISABLED), 0u);
  EXPECT_EQ(probe.dvtState & (MF_GRAYED | MF_DISABLED), 0u);

  Insert({"E:\\load\\a.bin"});
  SendMessageW(hwnd, WM_NOTIFY, IDC_DOWNLOAD_LIST, reinterpret_cast<LPARAM>(&click));
  ASSERT_EQ(probe.opened, 2);
  EXPECT_EQ(probe.deleteState & (MF_GRAYED | MF_DISABLED), 0u);
  RemoveWindowSubclass(hwnd, &PopupProbe::Proc, 1);
}

// Each case starts from three rows, the first selected and the last focused.
TEST_F(MainWindowTest, DropsAndKeysInTheDownloadListGoThroughInsertDeleteAndThePopup) {
  const std::vector<std::string> dropped = {"e:\\LOAD\\A.BIN", "E:\\load\\new.kfb", "E:\\load\\folder",
                                            "E:\\load\\gone.bin", "E:\\load\\empty.bin"};
  const ListRow a{false, "E:\\load", "a.BIN", false}, b{false, "E:\\load", "b.SDL", false},
      c{false, "E:\\load", "c.DNL", false}, added{false, "E:\\load", "new.KFB", true};
  const auto select = [](ListRow row) { return row.selected = true, row; };
  const auto send = [this](UINT message, WPARAM wParam, LPARAM lParam = 0, BYTE held = 0) {
    BYTE keys[256] = {};
    keys[held] = 0x80;  // the modifier key held down
    SetKeyboardState(keys);
    SendMessageW(Item(IDC_DOWNLOAD_LIST), message, wParam, lParam);
    keys[held] = 0;
    SetKeyboardState(keys);
  };
  const auto drop = [&] {
    const HDROP files = MakeDrop(dropped);
    send(WM_DROPFILES, reinterpret_cast<WPARAM>(files));
    EXPECT_EQ(GlobalSize(files), 0u) << "released";
  };
  const struct { const char* what; std::function<void()> act; std::vector<ListRow> rows; int popups; } cases[] = {
      {"drop", drop, {a, b, c, added}, 0},
      {"drop during a run", [&] { RunInProgressScope run; drop(); }, {select(a), b, c}, 0},
      {"Delete", [&] { send(WM_KEYDOWN, VK_DELETE); }, {b, c}, 0},
      {"Delete, none selected", [&] { SelectRows({}); send(WM_KEYDOWN, VK_DELETE); }, {a, b, c}, 0},
      {"Insert", [&] { files.answers.push_back({"E:\\load\\b.sdl", "E:\\load\\new.kfb"}); send(WM_KEYDOWN, VK_INSERT); },
       {a, b, c, added}, 0},
      {"Ctrl+A", [&] { send(WM_KEYDOWN, 'A', 0, VK_CONTROL); }, {select(a), select(b), select(c)}, 0},
      {"Space", [&] { send(WM_KEYDOWN, VK_SPACE); }, {a, b, select({true, "E:\\load", "c.DNL", false})}, 0},
      // What the system makes of the context-menu key.
      {"context-menu key", [&] { send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Item(IDC_DOWNLOAD_LIST)), -1); },
       {select(a), b, c}, 1},
      {"Shift+F10", [&] { send(WM_SYSKEYDOWN, VK_F10, 0, VK_SHIFT); }, {select(a), b, c}, 1},
  };
  for (int i : {0, 1}) fs.AddFile(dropped[i], "x");
  fs.AddFolder(dropped[2]);
  fs.AddFile(dropped[4], "");
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    Open();
    ShowWindow(hwnd, SW_SHOW);
    Insert({"E:\\load\\a.bin", "E:\\load\\b.sdl", "E:\\load\\c.dnl"});
    SelectRows({0});
    PopupProbe probe;
    SetWindowSubclass(hwnd, &PopupProbe::Proc, 1, reinterpret_cast<DWORD_PTR>(&probe));
    test.act();
    RemoveWindowSubclass(hwnd, &PopupProbe::Proc, 1);
    EXPECT_EQ(Rows(), test.rows);
    EXPECT_EQ(probe.opened, test.popups);
    RECT row = {LVIR_BOUNDS, 0, 0, 0};  // the focused row's, on the screen
    SendMessageW(Item(IDC_DOWNLOAD_LIST), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(Item(IDC_DOWNLOAD_LIST), nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_TRUE(!test.popups || (probe.at.left == row.left && probe.at.top == row.bottom));
  }
}
