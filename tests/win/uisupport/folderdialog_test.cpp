// The folder picker: its hook reactions against a stand-in browser window,
// and the shell's browser itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/wide.h"
#include "tests/support/uidoubles.h"
#include "uisupport/folderdialog.h"

namespace {

// A window that records the browser messages sent to it.
struct FakeBrowser {
  FakeBrowser() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuintorFakeBrowser";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(L"QuintorFakeBrowser", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~FakeBrowser() { DestroyWindow(hwnd); }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeBrowser* self = reinterpret_cast<FakeBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && (message == BFFM_SETSELECTIONW || message == BFFM_SETSTATUSTEXTW)) {
      self->messages.push_back({message, wParam, reinterpret_cast<const wchar_t*>(lParam)});
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  struct Message {
    UINT message;
    WPARAM wParam;
    std::wstring text;
  };
  HWND hwnd = nullptr;
  std::vector<Message> messages;
};

class RecordingFolderDialog : public CFolderDialog {
 public:
  using CFolderDialog::CFolderDialog;
  HWND browserDuringInit = nullptr;
  int rejected = 0;

 protected:
  void OnBrowseInit() override {
    browserDuringInit = BrowseWindow();
    CFolderDialog::OnBrowseInit();
  }
  int OnBrowseNameRejected(const std::string& name) override {
    ++rejected;
    lastRejected = name;
    return CFolderDialog::OnBrowseNameRejected(name);
  }

 public:
  std::string lastRejected;
};

// Confirms the browser once it shows `leaf` selected, as an operator would.
std::function<bool(HWND)> ConfirmWhenSelected(const std::wstring& leaf) {
  return [leaf](HWND browser) {
    if (ModalWindowWatcher::SelectedTreeItem(browser) != leaf) return false;
    return ModalWindowWatcher::Press(browser, IDOK);
  };
}

bool Cancel(HWND browser) { return ModalWindowWatcher::Press(browser, IDCANCEL); }

// Opens the shell's browser through `pick` until it shows `leaf` selected and
// is confirmed there, at most three times. Wine's browser now and then fills
// its tree after the preselection, so one opening may never select it; such
// an opening is cancelled after a while and counted as a miss.
int PickWhenSelected(const std::wstring& leaf, const std::function<int()>& pick) {
  int result = IDCANCEL;
  for (int attempt = 0; attempt < 3 && result != IDOK; ++attempt) {
    ModalWindowWatcher watcher(ConfirmWhenSelected(leaf), std::chrono::seconds(15));
    result = pick();
  }
  return result;
}

LRESULT Hook(CFolderDialog& dialog, HWND browser, UINT code, LPARAM value) {
  return CFolderDialog::FolderBrowseHook(browser, code, value, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace

TEST(FolderDialogHook, OpeningPreselectsTheInitialFolderAsAPath) {
  FakeBrowser browser;
  RecordingFolderDialog dialog("Select the release folder for browse dialog", nullptr, nullptr, kFolderBrowseFlags);
  dialog.SetInitialFolder("D:\\Release\\2011 봄");
  EXPECT_EQ(Hook(dialog, browser.hwnd, BFFM_INITIALIZED, 0), 0);
  ASSERT_EQ(browser.messages.size(), 1u);
  EXPECT_EQ(browser.messages[0].message, static_cast<UINT>(BFFM_SETSELECTIONW));
  EXPECT_EQ(browser.messages[0].wParam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(browser.messages[0].text, L"D:\\Release\\2011 봄");
  EXPECT_EQ(dialog.browserDuringInit, browser.hwnd);
}

TEST(FolderDialogHook, NoInitialFolderNoPreselection) {
  FakeBrowser browser;
  CFolderDialog dialog("t", nullptr, nullptr, kFolderBrowseFlags);
  Hook(dialog, browser.hwnd, BFFM_INITIALIZED, 0);
  EXPECT_TRUE(browser.messages.empty());
}

TEST(FolderDialogHook, ARejectedNameKeepsTheBrowserOpen) {
  FakeBrowser browser;
  RecordingFolderDialog dialog("t", nullptr, nullptr, kFolderBrowseFlags);
  const wchar_t typed[] = L"C:\\없는 폴더";
  EXPECT_EQ(Hook(dialog, browser.hwnd, BFFM_VALIDATEFAILEDW, reinterpret_cast<LPARAM>(typed)), 1);
  EXPECT_EQ(dialog.rejected, 1);
  EXPECT_EQ(dialog.lastRejected, "C:\\없는 폴더");
}

TEST(FolderDialogHook, StatusLineFollowsTheSelectionOnlyWithStatusText) {
  const std::wstring folder = TestTempFolder(L"quintor_status");
  PIDLIST_ABSOLUTE item = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHParseDisplayName(folder.c_str(), nullptr, &item, 0, nullptr)));
  for (UINT flags : {static_cast<UINT>(kFolderBrowseFlags), static_cast<UINT>(kFolderBrowseFlags | BIF_STATUSTEXT)}) {
    FakeBrowser browser;
    CFolderDialog dialog("t", nullptr, nullptr, flags);
    Hook(dialog, browser.hwnd, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item));
    if (flags & BIF_STATUSTEXT) {
      ASSERT_EQ(browser.messages.size(), 1u);
      EXPECT_EQ(browser.messages[0].message, static_cast<UINT>(BFFM_SETSTATUSTEXTW));
      EXPECT_EQ(browser.messages[0].text, folder);
    } else {
      EXPECT_TRUE(browser.messages.empty());
    }
  }
  CoTaskMemFree(item);
}

TEST(FolderDialogHook, OtherNotificationsDoNothing) {
  FakeBrowser browser;
  CFolderDialog dialog("t", "C:\\x", nullptr, kFolderBrowseFlags);
  EXPECT_EQ(Hook(dialog, browser.hwnd, BFFM_IUNKNOWN, 0), 0);
  EXPECT_EQ(Hook(dialog, browser.hwnd, 77, 0), 0);
  EXPECT_TRUE(browser.messages.empty());
}

TEST(FolderDialog, InitialFolderIsKeptUpToTheBufferAndDroppedBeyondIt) {
  CFolderDialog dialog("t", "C:\\given at construction", nullptr, kFolderBrowseFlags);
  EXPECT_EQ(dialog.GetInitialFolder(), "C:\\given at construction");
  const std::string longest = "C:\\" + std::string(MAX_PATH - 4, 'a');  // 259 characters
  dialog.SetInitialFolder(longest);
  EXPECT_EQ(dialog.GetInitialFolder(), longest);
  dialog.SetInitialFolder(longest + "b");
  EXPECT_EQ(dialog.GetInitialFolder(), "");
  // Settings can hold 1023 characters; nothing is written past the buffer.
  dialog.SetInitialFolder("C:\\" + std::string(1020, 'x'));
  EXPECT_EQ(dialog.GetInitialFolder(), "");
  // Korean characters count as one UTF-16 unit each.
  const std::string korean = "C:\\" + [] {
    std::string s;
    for (int i = 0; i < 256; ++i) s += "폴";
    return s;
  }();
  dialog.SetInitialFolder(korean);
  EXPECT_EQ(dialog.GetInitialFolder(), korean);
}

// The shell's browser opens on the preselected folder; confirming it returns
// that folder.
TEST(FolderDialog, BrowserOpensOnTheInitialFolderAndReturnsIt) {
  const std::wstring folder = TestTempFolder(L"quintor_browse 폴더");
  CFolderDialog dialog("Select the release folder for browse dialog", nullptr, nullptr, kFolderBrowseFlags);
  dialog.SetInitialFolder(Narrow(folder));
  EXPECT_EQ(PickWhenSelected(L"quintor_browse 폴더", [&] { return static_cast<int>(dialog.DoModal()); }), IDOK);
  EXPECT_EQ(dialog.GetSelectedFolder(), Narrow(folder));
}

TEST(FolderDialog, CancelGivesTwoAndNoFolder) {
  ModalWindowWatcher watcher(Cancel);
  CFolderDialog dialog("t", nullptr, nullptr, kFolderBrowseFlags);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.GetSelectedFolder(), "");
}

TEST(ShellFolderPicker, PassesTheRequestAndLeavesTheFolderOnCancel) {
  const std::wstring folder = TestTempFolder(L"quintor_pick");
  {
    ShellFolderPicker picker;
    FolderPickRequest request;
    request.title = "Select the Dvt Test folder for browse dialog";
    request.initialFolder = Narrow(folder);
    std::string chosen = "unchanged";
    EXPECT_EQ(PickWhenSelected(L"quintor_pick", [&] { return picker.PickFolder(request, &chosen); }), IDOK);
    EXPECT_EQ(chosen, Narrow(folder));
  }
  {
    ModalWindowWatcher watcher(Cancel);
    ShellFolderPicker picker;
    FolderPickRequest request;
    request.initialFolder = Narrow(folder);
    std::string chosen = "unchanged";
    EXPECT_EQ(picker.PickFolder(request, &chosen), IDCANCEL);
    EXPECT_EQ(chosen, "unchanged");
  }
}
