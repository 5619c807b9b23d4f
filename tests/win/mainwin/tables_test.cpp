// Every id of a window's handler and exchange tables exists in its template
// (or, for menu commands, in the popup menu); the system-menu entry and the
// About box; the icon; the run guard.
#include "platform/runguard.h"
#include "tests/win/mainwin/support.h"
#include "uisupport/aboutdlg.h"

namespace {

bool MenuHasCommand(HMENU menu, int id) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (static_cast<int>(GetMenuItemID(menu, i)) == id) return true;
    HMENU sub = GetSubMenu(menu, i);
    if (sub && MenuHasCommand(sub, id)) return true;
  }
  return false;
}

void ExpectTablesMatchTemplate(Dialog& dialog, const char* name) {
  HWND hwnd = dialog.CreateModeless();
  ASSERT_NE(hwnd, nullptr) << name;
  HMENU popup = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUP_MENU));
  for (int id : dialog.HandlerControlIds()) {
    EXPECT_TRUE(GetDlgItem(hwnd, id) || MenuHasCommand(popup, id)) << name << ": handler id " << id;
  }
  for (int id : dialog.ExchangeControlIds()) {
    EXPECT_NE(GetDlgItem(hwnd, id), nullptr) << name << ": exchange id " << id;
  }
  DestroyMenu(popup);
  dialog.Destroy();
}

}  // namespace

TEST_F(MainWindowTest, EveryTableIdExistsInTheTemplates) {
  CQuintorDlg main(services);
  ExpectTablesMatchTemplate(main, "main window");
  EXPECT_EQ(main.HandlerControlIds().size(), 14u);
  EXPECT_EQ(main.ExchangeControlIds().size(), 15u);
  CAboutDlg about;
  ExpectTablesMatchTemplate(about, "About box");
}

TEST_F(MainWindowTest, SystemMenuCarriesTheKoreanAboutEntryAfterASeparator) {
  Open();
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  wchar_t text[64] = {};
  GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "Quintor 정보(&A)...");
  EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(MainWindowTest, AboutEntryShowsTheAboutBoxModally) {
  Open();
  std::string caption;
  bool ownerDisabled = false;
  HWND main = hwnd;
  ModalWindowWatcher watcher([&](HWND about) {
    caption = Narrow(ModalWindowWatcher::Text(about));
    ownerDisabled = !IsWindowEnabled(main);
    return ModalWindowWatcher::Press(about, IDOK);
  });
  // The four low bits of a system command are the system's own.
  SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
  EXPECT_EQ(caption, "Quintor 정보");
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(hwnd));
}

TEST_F(MainWindowTest, WindowCarriesTheProgramIcon) {
  Open();
  EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0), SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
  HICON large = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              32, 32, LR_DEFAULTCOLOR));
  HICON small = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              16, 16, LR_DEFAULTCOLOR));
  EXPECT_NE(large, nullptr);
  EXPECT_NE(small, nullptr);
  DestroyIcon(large);
  DestroyIcon(small);
}

TEST_F(MainWindowTest, NothingRunsWhileARunIsInProgress) {
  Open();
  ChooseTool("D:\\Bench\\Dorvik.exe");
  Select(IDC_COMMAND, 5);
  {
    RunInProgressScope run;
    Click(IDC_START);
    files.answers.push_back({"E:\\load\\a.bin"});
    Menu(ID_POPUP_INSERT);
    Click(IDCANCEL);
  }
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_EQ(RowCount(IDC_DOWNLOAD_LIST), 0);
  EXPECT_TRUE(IsWindow(hwnd));
  Click(IDC_START);
  EXPECT_EQ(launcher.calls.size(), 1u);
}

TEST(Templates, CarryEveryControlWithItsKindAndCaption) {
  struct Control {
    int id;
    const wchar_t* kind;
    const char* caption;
  };
  struct Window {
    int templateId;
    const char* title;
    std::vector<Control> controls;
  };
  const Window windows[] = {
      {IDD_QUINTOR_DIALOG,
       "Quintor",
       {{IDC_TOOL_PATH, L"Static", ""}, {IDC_TOOL_OPEN, L"Button", "\"Dorvik.exe\" Open"},
        {IDC_BBCB_SETTING, L"Button", "BBCB Setting"}, {IDC_DVT_TEST, L"Button", "DVT Test"},
        {IDC_PORT, L"ComboBox", ""}, {IDC_BAUD_RATE, L"ComboBox", ""}, {IDC_DATA_BITS, L"ComboBox", ""},
        {IDC_STOP_BITS, L"ComboBox", ""}, {IDC_PARITY, L"ComboBox", ""}, {IDC_COMMAND, L"ComboBox", ""},
        {IDC_DOWNLOAD_LIST, L"SysListView32", ""}, {IDC_RUN_HISTORY, L"SysListView32", ""},
        {IDC_DEBUG_PRINT, L"Button", "Debug Print"}, {IDC_DEBUG_CAPTURE, L"Button", "Debug Capture"},
        {IDC_START, L"Button", "Start"}, {IDC_VIEW_LOG, L"Button", "View Log"}, {IDC_SCS, L"Button", "SCS"},
        {IDC_JEI, L"Button", "JEI"}, {IDC_CW, L"Button", "CW"}, {IDC_OUTPUT_PATH, L"Static", ""},
        {IDC_OUTPUT_SAVE, L"Button", "Output Save"}, {IDC_OUTPUT_VIEW, L"Button", "Output File View"}}},
      {IDD_BBCB_SETTING,
       "BBCB Setting",
       {{IDC_BBCB_TOOL_PATH, L"Static", ""}, {IDC_BBCB_TOOL_OPEN, L"Button", "\"irdeto_make_bbcb.exe\" Open"},
        {IDC_BBCB_CONFIG_PATH, L"Static", ""}, {IDC_BBCB_CONFIG_OPEN, L"Button", "Open"},
        {IDC_BBCB_SN, L"Edit", ""}, {IDC_BBCB_RN, L"Edit", ""}, {IDC_BBCB_MANUFACTURER_SN, L"Edit", ""},
        {IDC_BBCB_MAC1, L"Edit", ""}, {IDC_BBCB_MAC2, L"Edit", ""}, {IDC_BBCB_MAC3, L"Edit", ""},
        {IDC_BBCB_MAC4, L"Edit", ""}, {IDC_BBCB_MAC5, L"Edit", ""}, {IDC_BBCB_MAC6, L"Edit", ""},
        {IDC_BBCB_OUTPUT_FOLDER, L"Static", ""}, {IDC_BBCB_OUTPUT_SAVE, L"Button", "Save"},
        {IDC_BBCB_START, L"Button", "Start !!"}}},
      {IDD_DVT_TEST,
       "DVT Test",
       {{IDC_DVT_NEXT, L"Button", "Next"}, {IDC_DVT_PROV, L"Button", "Prov"}, {IDC_DVT_TEST_RUN, L"Button", "Test!!"},
        {IDC_DVT_OPEN, L"Button", "Open"}, {IDC_DVT_FOLDER, L"Static", ""}, {IDC_DVT_TITLE, L"Static", ""},
        {IDC_DVT_FILE, L"Static", ""}, {IDC_DVT_TYPICAL_ERROR, L"Static", ""},
        {IDC_DVT_DESCRIPTION, L"Static", ""}, {IDC_DVT_SERIAL_RESULT, L"Static", ""},
        {IDC_DVT_OTA_RESULT, L"Static", ""}, {IDC_DVT_INITIATION, L"Static", ""},
        {IDC_DVT_ADDITIONAL, L"Static", ""}}},
  };
  for (const Window& w : windows) {
    Dialog dialog(w.templateId);
    HWND hwnd = dialog.CreateModeless();
    ASSERT_NE(hwnd, nullptr) << w.title;
    EXPECT_EQ(Narrow(ModalWindowWatcher::Text(hwnd)), w.title);
    for (const Control& c : w.controls) {
      HWND control = GetDlgItem(hwnd, c.id);
      ASSERT_NE(control, nullptr) << w.title << " " << c.id;
      wchar_t kind[32] = {};
      GetClassNameW(control, kind, 32);
      EXPECT_STREQ(kind, c.kind) << w.title << " " << c.id;
      EXPECT_EQ(Narrow(ModalWindowWatcher::Text(control)), c.caption) << w.title << " " << c.id;
    }
    // The DVT window's tab order starts at "Next".
    if (w.templateId == IDD_DVT_TEST) {
      EXPECT_EQ(GetNextDlgTabItem(hwnd, nullptr, FALSE), GetDlgItem(hwnd, IDC_DVT_NEXT));
    }
    dialog.Destroy();
  }
}
