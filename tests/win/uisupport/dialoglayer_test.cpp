// The dialog layer: routing through handler tables, data exchange in both
// directions with its length check, the exception barrier, and the one-time
// last work of a window however it ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/uidoubles.h"

namespace {

// A window on the BBCB template: two edit fields with limits, handlers of
// every kind.
class ProbeDialog : public TableDialog<ProbeDialog> {
 public:
  ProbeDialog() : TableDialog(IDD_BBCB_SETTING) {}
  static const HandlerTable<ProbeDialog>& Handlers() {
    static const HandlerTable<ProbeDialog> rows = {
        OnCommand(IDC_BBCB_START, BN_CLICKED, &ProbeDialog::OnStart),
        OnCommandId(IDC_BBCB_SN, EN_CHANGE, &ProbeDialog::OnFieldChanged),
        OnCommandId(IDC_BBCB_RN, EN_CHANGE, &ProbeDialog::OnFieldChanged),
        OnCommand(IDC_BBCB_TOOL_OPEN, BN_CLICKED, &ProbeDialog::OnThrow),
        OnNotify(IDC_BBCB_OUTPUT_FOLDER, NM_RCLICK, &ProbeDialog::OnRclick),
        OnMessage(WM_APP, &ProbeDialog::OnApp),
    };
    return rows;
  }

  std::string sn, rn, manufacturer;
  int starts = 0, rclicks = 0, lastWork = 0;
  std::vector<int> changed;
  std::vector<std::string> messages, errors;
  std::string snAtLastWork;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }

 protected:
  void DoDataExchange(DataExchange& dx) override {
    dx.Text(IDC_BBCB_SN, sn, 8);
    dx.Text(IDC_BBCB_MANUFACTURER_SN, manufacturer, 31);
    dx.Text(IDC_BBCB_RN, rn);
  }
  void DestroyWindow() override {
    ++lastWork;
    char text[64] = {};
    GetDlgItemTextA(GetSafeHwnd(), IDC_BBCB_SN, text, 64);
    snAtLastWork = text;
    TableDialog::DestroyWindow();
  }
  void ReportError(const std::string& what) override { errors.push_back(what); }

 private:
  void OnStart() { ++starts; }
  void OnFieldChanged(int id) { changed.push_back(id); }
  void OnThrow() { throw std::runtime_error("disk on fire"); }
  void OnRclick() { ++rclicks; }
  bool OnApp(WPARAM wParam, LPARAM, LRESULT* result) {
    if (wParam != 7) return false;
    *result = 42;
    return true;
  }
};

std::string ItemText(HWND dialog, int id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return Narrow(text);
}

void Click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

TEST(DialogLayer, RoutesCommandsNotificationsAndMessagesToTheirRows) {
  ProbeDialog dialog;
  dialog.sn = "12";
  dialog.rn = "34";
  HWND hwnd = dialog.CreateModeless();
  ASSERT_NE(hwnd, nullptr);
  // Texts the window shows itself are not the operator's edits.
  dialog.UpdateData(false);
  EXPECT_TRUE(dialog.changed.empty());

  Click(hwnd, IDC_BBCB_START);
  Click(hwnd, IDC_BBCB_CONFIG_OPEN);  // no row
  SetDlgItemTextW(hwnd, IDC_BBCB_RN, L"12");
  SetDlgItemTextW(hwnd, IDC_BBCB_SN, L"34");
  NMHDR header = {GetDlgItem(hwnd, IDC_BBCB_OUTPUT_FOLDER), IDC_BBCB_OUTPUT_FOLDER, NM_RCLICK};
  SendMessageW(hwnd, WM_NOTIFY, IDC_BBCB_OUTPUT_FOLDER, reinterpret_cast<LPARAM>(&header));
  header.code = NM_DBLCLK;
  SendMessageW(hwnd, WM_NOTIFY, IDC_BBCB_OUTPUT_FOLDER, reinterpret_cast<LPARAM>(&header));

  EXPECT_EQ(dialog.starts, 1);
  EXPECT_EQ(dialog.changed, (std::vector<int>{IDC_BBCB_RN, IDC_BBCB_SN}));
  EXPECT_EQ(dialog.rclicks, 1);
  EXPECT_TRUE(SendMessageW(hwnd, WM_APP, 7, 0));
  EXPECT_EQ(GetWindowLongPtrW(hwnd, DWLP_MSGRESULT), 42);
  EXPECT_FALSE(SendMessageW(hwnd, WM_APP, 8, 0));
  dialog.Destroy();
}

TEST(DialogLayer, DataExchangeRunsBothWaysWithKoreanText) {
  ProbeDialog dialog;
  dialog.sn = "1A2B";
  dialog.manufacturer = "제조사 7";
  HWND hwnd = dialog.CreateModeless();
  EXPECT_EQ(ItemText(hwnd, IDC_BBCB_SN), "1A2B");
  EXPECT_EQ(ItemText(hwnd, IDC_BBCB_MANUFACTURER_SN), "제조사 7");

  SetDlgItemTextW(hwnd, IDC_BBCB_MANUFACTURER_SN, L"한글 S/N");
  SetDlgItemTextW(hwnd, IDC_BBCB_RN, L"0099");
  EXPECT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.manufacturer, "한글 S/N");
  EXPECT_EQ(dialog.rn, "0099");
  dialog.Destroy();
}

TEST(DialogLayer, LengthLimitIsSetOnShowAndRefusedOnTake) {
  ProbeDialog dialog;
  HWND hwnd = dialog.CreateModeless();
  EXPECT_EQ(SendDlgItemMessageW(hwnd, IDC_BBCB_SN, EM_GETLIMITTEXT, 0, 0), 8);
  EXPECT_EQ(SendDlgItemMessageW(hwnd, IDC_BBCB_MANUFACTURER_SN, EM_GETLIMITTEXT, 0, 0), 31);

  // Longer texts still reach a control programmatically; taking refuses them.
  SetDlgItemTextW(hwnd, IDC_BBCB_SN, L"123456789");
  SetDlgItemTextW(hwnd, IDC_BBCB_RN, L"new");
  dialog.rn = "old";
  EXPECT_FALSE(dialog.UpdateData(true));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0], "Please enter no more than 8 characters.");
  EXPECT_EQ(dialog.rn, "old") << "bindings after the refused one are left as they were";
  EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_BBCB_SN));

  // Enter with a refused value keeps the window open.
  Click(hwnd, IDOK);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(dialog.lastWork, 0);

  SetDlgItemTextW(hwnd, IDC_BBCB_SN, L"12345678");
  Click(hwnd, IDOK);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(dialog.Result(), IDOK);
  EXPECT_EQ(dialog.sn, "12345678");
}

TEST(DialogLayer, AnExceptionInAHandlerIsReportedAndTheWindowGoesOn) {
  ProbeDialog dialog;
  HWND hwnd = dialog.CreateModeless();
  Click(hwnd, IDC_BBCB_TOOL_OPEN);
  ASSERT_EQ(dialog.errors.size(), 1u);
  EXPECT_EQ(dialog.errors[0], "disk on fire");
  Click(hwnd, IDC_BBCB_START);
  EXPECT_EQ(dialog.starts, 1);
  dialog.Destroy();
}

TEST(DialogLayer, LastWorkRunsOnceWithTheControlsStillThere) {
  struct Ending {
    const char* name;
    void (*end)(ProbeDialog&, HWND);
  };
  const Ending endings[] = {
      {"Destroy", [](ProbeDialog& d, HWND) { d.Destroy(); }},
      {"Esc", [](ProbeDialog&, HWND h) { Click(h, IDCANCEL); }},
      {"Enter", [](ProbeDialog&, HWND h) { Click(h, IDOK); }},
      {"close box", [](ProbeDialog&, HWND h) { SendMessageW(h, WM_CLOSE, 0, 0); }},
      {"system destroy", [](ProbeDialog&, HWND h) { DestroyWindow(h); }},
  };
  for (const Ending& ending : endings) {
    ProbeDialog dialog;
    dialog.sn = "77";
    HWND hwnd = dialog.CreateModeless();
    ending.end(dialog, hwnd);
    // The close box posts its Esc.
    EXPECT_TRUE(PumpMessagesUntil([hwnd] { return !IsWindow(hwnd); })) << ending.name;
    EXPECT_EQ(dialog.lastWork, 1) << ending.name;
    EXPECT_EQ(dialog.snAtLastWork, "77") << ending.name;
    dialog.Destroy();
    EXPECT_EQ(dialog.lastWork, 1) << ending.name;
  }
}

TEST(DialogLayer, ModalRunEndsWithTheButtonsResult) {
  ProbeDialog dialog;
  dialog.sn = "5";
  ModalWindowWatcher watcher([](HWND hwnd) {
    SetDlgItemTextW(hwnd, IDC_BBCB_SN, L"ABCD");
    return ModalWindowWatcher::Press(hwnd, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.sn, "ABCD");
  EXPECT_EQ(dialog.lastWork, 1);
  EXPECT_EQ(dialog.snAtLastWork, "ABCD");
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogLayer, ListsTheIdsOfItsTables) {
  ProbeDialog dialog;
  EXPECT_EQ(dialog.HandlerControlIds(),
            (std::vector<int>{IDC_BBCB_START, IDC_BBCB_SN, IDC_BBCB_RN, IDC_BBCB_TOOL_OPEN, IDC_BBCB_OUTPUT_FOLDER}));
  EXPECT_EQ(dialog.ExchangeControlIds(),
            (std::vector<int>{IDC_BBCB_SN, IDC_BBCB_MANUFACTURER_SN, IDC_BBCB_RN}));
}
