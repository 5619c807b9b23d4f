// The windows in-process on their templates, with doubles of the services:
// a smoke of each window and what only a window does. What a window wrote is
// compared with what the composers make of the operator's choices.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "bbcb/bbcbjob.h"
#include "bbcb/bbcbsettingdlg.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "dvt/dvttestdlg.h"
#include "invocation/script.h"
#include "mainwin/quintordlg.h"
#include "platform/runguard.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/uidoubles.h"

namespace {

const char kTool[] = "D:\\Bench\\Dorvik.exe";

// Presses a button of `dialog` once the caller's work is done.
bool Press(HWND dialog, int id) { return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Gets the next window this thread activates (a modal window as it opens), once.
std::function<void(HWND)> onActivation;

LRESULT CALLBACK ActivationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && onActivation) std::exchange(onActivation, nullptr)(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WindowTest : public ::testing::Test, protected UiDoubles {
 protected:
  void TearDown() override {
    Close();
    UnhookWindowsHookEx(hook);
    onActivation = nullptr;
  }
  // Opens a window of class T. Every id of its handler and exchange tables
  // must be a control of its template or a command of the popup menu.
  template <class T, class... Args>
  void Open(Args... args) {
    Close();
    window.reset(new T(ui, args...));
    ASSERT_NE(hwnd = window->CreateModeless(), nullptr);
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUP_MENU));
    for (int id : window->HandlerControlIds()) {
      EXPECT_TRUE(Item(id) || GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) << id;
    }
    for (int id : window->ExchangeControlIds()) EXPECT_NE(Item(id), nullptr) << id;
    DestroyMenu(menu);
  }
  void Close() {  // with Esc
    if (hwnd && IsWindow(hwnd)) Click(IDCANCEL);
    window.reset();
  }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  std::string Text(int id) const { return window->ItemText(id); }
  void Click(int id, WORD code = BN_CLICKED) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, code), 0); }
  void Check(int id, bool on = true) {
    SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
  }
  // Chooses `row` of a drop-down list; -1 leaves none chosen.
  void Pick(int id, int row) {
    SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    Click(id, CBN_SELCHANGE);
  }
  // Presses `button` with the file dialog answering `paths`, which exist.
  void Choose(int button, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) fs.AddFile(path, "x");
    dialogs.files.push_back(paths);
    Click(button, button == ID_POPUP_INSERT ? 0 : BN_CLICKED);
  }
  // The download rows as "[x] FOLDER\NAME *": checked, and selected.
  std::vector<std::string> Rows() const {
    ListView list;
    list.Attach(Item(IDC_DOWNLOAD_LIST));
    std::vector<std::string> rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      rows.push_back((list.GetCheck(i) ? "[x] " : "[ ] ") +
                     AsciiUpper(list.GetItemText(i, 1) + "\\" + list.GetItemText(i, 2)) +
                     (ListView_GetItemState(list.GetSafeHwnd(), i, LVIS_SELECTED) ? " *" : ""));
    }
    return rows;
  }

  std::unique_ptr<Dialog> window;
  HWND hwnd = nullptr;
  const HHOOK hook = SetWindowsHookExW(WH_CBT, &ActivationHook, nullptr, GetCurrentThreadId());
};

// A stored value in no catalogue row (300 baud) shows no selection and is
// stored back.
TEST_F(WindowTest, MainWindowLocksFollowTheCommandStartRunsTheComposersScriptAndAnExceptionIsShown) {
  store.SetText(kSettingsKeyPath, "Serial_Baudrate", "300");
  Open<CQuintorDlg>();
  EXPECT_EQ(SendMessageW(Item(IDC_BAUD_RATE), CB_GETCURSEL, 0, 0), CB_ERR);
  for (int row = 0; row < kCommandOptionCount; ++row) {
    Pick(IDC_COMMAND, row);
    const int32_t code = CommandOptions[row].value;
    for (int id : {IDC_SCS, IDC_JEI, IDC_CW}) {
      EXPECT_EQ(IsWindowEnabled(Item(id)) != FALSE, code == kCmdIrdetoFactoryLock || code == kCmdIrdetoSecureLock);
    }
    if (IsWindowEnabled(Item(IDC_SCS))) Check(IDC_SCS);
  }
  EXPECT_EQ(SendMessageW(Item(IDC_SCS), BM_GETCHECK, 0, 0), BST_CHECKED) << "a check stays with its option";
  Check(IDC_DEBUG_CAPTURE);
  onActivation = [&](HWND about) { EXPECT_FALSE(IsWindowEnabled(hwnd)) << "modal"; Press(about, IDOK); };
  SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);  // the low four bits are the system's
  EXPECT_TRUE(!onActivation && IsWindowEnabled(hwnd)) << "the About box opened and closed";

  Choose(IDC_TOOL_OPEN, {kTool});
  const int lists[] = {IDC_PORT, IDC_BAUD_RATE, IDC_DATA_BITS, IDC_STOP_BITS, IDC_PARITY, IDC_COMMAND};
  const int rows[] = {2, -1, 3, 2, 1, 2};
  for (int i = 0; i < 6; ++i) Pick(lists[i], rows[i]);
  const std::string images[] = {"E:\\load\\bbcb.bin", "F:\\keys\\mankey.dnl", "F:\\keys\\unticked.sdl"};
  Choose(ID_POPUP_INSERT, {images[0], images[1], images[2]});
  ListView_SetCheckState(Item(IDC_DOWNLOAD_LIST), 0, TRUE);
  ListView_SetCheckState(Item(IDC_DOWNLOAD_LIST), 1, TRUE);
  Check(IDC_CW);
  Check(IDC_DEBUG_PRINT, false);
  Choose(IDC_OUTPUT_SAVE, {"C:\\out\\result"});  // ".txt" only for a path without an extension
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "C:\\out\\result.txt");
  Choose(IDC_OUTPUT_SAVE, {"G:\\out\\result.txt"});
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "G:\\out\\result.txt");
  Click(IDC_OUTPUT_SAVE);  // cancelled
  Click(IDC_START);
  std::vector<DownloadRow> files;
  for (int i = 0; i < 3; ++i) files.push_back({i < 2, GetPathFolder(images[i]), GetPathFileName(images[i])});
  const ToolCommandInputs in{kTool, PortOptions[2].value, std::nullopt, DataBitsOptions[3].value,
                             StopBitsOptions[2].value, ParityOptions[1].value, CommandOptions[2].value, files,
                             true, false, true, "G:\\out\\result.txt", false};
  const std::string script = GetModuleFolder(env) + kRunScriptName;
  ASSERT_NE(ComposeRunScript(in, clock.now), "");
  EXPECT_EQ(fs.Content(script), ComposeRunScript(in, clock.now));
  EXPECT_EQ(launcher.calls.at(0), ScriptStartCommand(script) + " > " + CaptureLogPath(services) + " waited");
  const std::vector<std::string> lines = ComposeRunHistoryLines(in, clock.now);
  ListView history;
  history.Attach(Item(IDC_RUN_HISTORY));
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(history.GetItemText(static_cast<int>(i), 1), lines[i]);
  // The DVT Test window gets the tool and the list positions, and runs the case it shows.
  store.SetText(kSettingsKeyPath, "Dvt_Path", "E:\\dvt");
  onActivation = [](HWND dvt) { Press(dvt, IDC_DVT_PROV) && Press(dvt, IDC_DVT_TEST_RUN) && Press(dvt, IDCANCEL); };
  Click(IDC_DVT_TEST);
  EXPECT_EQ(fs.Content(GetModuleFolder(env) + kDvtScriptName),
            ComposeDvtScript({kTool, 2, -1, 3, 2, 1, "E:\\dvt", GetDvtTestCaseCount() - 1}, clock.now));
  // Another run, without capture: only its rows are highlighted. One that
  // cannot start adds none.
  Check(IDC_DEBUG_CAPTURE, false);
  Click(IDC_START);
  EXPECT_EQ(launcher.calls.back(), ScriptStartCommand(script) + " >  waited");
  launcher.startable = false;
  Click(IDC_START);
  const int n = static_cast<int>(lines.size());
  EXPECT_EQ(history.GetItemCount(), 2 * n);
  EXPECT_TRUE(history.GetSelectedCount() == n && history.GetNextSelected(-1) == n) << "only the last run's rows";
  // An exception in a handler is shown, and the window goes on.
  wchar_t shown[256] = {};
  onActivation = [&](HWND message) { GetDlgItemTextW(message, 0xFFFF, shown, 256) && Press(message, IDOK); };
  launcher.startable = true;
  launcher.onRun = [](const std::string&, const std::string&) { throw std::runtime_error("disk on fire"); };
  Click(IDC_START);
  EXPECT_NE(Narrow(shown).find("disk on fire"), std::string::npos) << Narrow(shown);
  EXPECT_TRUE(IsWindow(hwnd));
  Close();
  EXPECT_EQ(store.Bytes(kSettingsKeyPath, "Serial_Baudrate"), Utf16Bytes("300"));
}

// Counts the messages a window gets; WM_APP ends the run's wait.
struct Received {
  std::map<UINT, int> counts;
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool duringRun = false;
  ~Received() { CloseHandle(release); }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    Received& r = *reinterpret_cast<Received*>(self);
    ++r.counts[message];
    if (message == WM_APP) r.duringRun = IsRunInProgress() && SetEvent(r.release);
    if (message == WM_INITMENUPOPUP) PostMessageW(hwnd, WM_APP + 1, 0, 0);  // a popup closes once shown
    if (message == WM_APP + 1) EndMenu();
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
};

// While a run waits, the window paints and other messages are handled, but
// input is dropped, never replayed, and no handler runs.
TEST_F(WindowTest, DuringARunTheWindowPaintsButTakesNoInputAndRunsNoHandler) {
  Received received;
  Open<CQuintorDlg>();
  ShowWindow(hwnd, SW_SHOWNA);
  Choose(ID_POPUP_INSERT, {"E:\\load\\a.bin"});
  SetWindowSubclass(hwnd, &Received::Proc, 1, reinterpret_cast<DWORD_PTR>(&received));
  const UINT inputs[] = {WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_MOUSEWHEEL};
  for (UINT input : inputs) PostMessageW(hwnd, input, 0, 0);
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(ID_POPUP_DELETE, 0), 0);  // the row is selected
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  InvalidateRect(hwnd, nullptr, TRUE);
  PostQuitMessage(7);
  PostMessageW(hwnd, WM_APP, 0, 0);
  ASSERT_TRUE(WaitKeepingWindowsPainted(received.release));
  EXPECT_TRUE(received.duringRun);
  EXPECT_GE(received.counts[WM_PAINT], 1);
  for (UINT input : inputs) EXPECT_EQ(received.counts[input], 0) << input;
  EXPECT_EQ(ListView_GetItemCount(Item(IDC_DOWNLOAD_LIST)), 1);
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    EXPECT_FALSE(IsUserInputMessage(msg.message)) << msg.message;
    quit = quit || (msg.message == WM_QUIT && msg.wParam == 7);
  }
  EXPECT_TRUE(quit) << "the quit request is kept";
  RemoveWindowSubclass(hwnd, &Received::Proc, 1);
}

// A drop as the shell posts it: wide paths, each with its zero, and one more.
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

// Each case starts from three rows, the first ticked and selected, the last
// focused. Insert and drops skip listed files, whatever their case.
TEST_F(WindowTest, DropsAndKeysInTheDownloadListGoThroughInsertDeleteAndThePopup) {
  const std::vector<std::string> dropped = {"e:\\LOAD\\A.BIN", "E:\\load\\new.kfb", "E:\\load\\folder",
                                            "E:\\load\\gone"};
  const auto send = [this](UINT message, WPARAM wParam, LPARAM lParam = 0, BYTE held = 0) {
    BYTE keys[256] = {};
    keys[held] = 0x80;  // the modifier held down
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
  const std::string a = "[x] E:\\LOAD\\A.BIN", b = "[ ] E:\\LOAD\\B.SDL", c = "[ ] E:\\LOAD\\C.DNL";
  const std::string added = "[ ] E:\\LOAD\\NEW.KFB *";
  const struct { const char* what; std::function<void()> act; std::vector<std::string> rows; int popups; } cases[] = {
      {"drop", drop, {a, b, c, added}, 0},
      {"drop during a run", [&] { RunInProgressScope run; drop(); }, {a + " *", b, c}, 0},
      {"Delete", [&] { send(WM_KEYDOWN, VK_DELETE); }, {b, c}, 0},
      {"popup Delete", [&] { Click(ID_POPUP_DELETE, 0); }, {b, c}, 0},
      {"Delete, none selected", [&] { ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), 0, 0, LVIS_SELECTED);
                                      send(WM_KEYDOWN, VK_DELETE); }, {a, b, c}, 0},
      {"Insert", [&] { dialogs.files.push_back({"E:\\Load\\B.Sdl", dropped[1]}); send(WM_KEYDOWN, VK_INSERT); },
       {a, b, c, added}, 0},
      {"Ctrl+A", [&] { send(WM_KEYDOWN, 'A', 0, VK_CONTROL); }, {a + " *", b + " *", c + " *"}, 0},
      {"Space", [&] { send(WM_KEYDOWN, VK_SPACE); }, {a, b, "[x] E:\\LOAD\\C.DNL *"}, 0},
      {"context-menu key", [&] { send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Item(IDC_DOWNLOAD_LIST)), -1); },
       {a + " *", b, c}, 1},
      {"Shift+F10", [&] { send(WM_SYSKEYDOWN, VK_F10, 0, VK_SHIFT); }, {a + " *", b, c}, 1},
  };
  for (int i : {0, 1}) fs.AddFile(dropped[i], "x");
  fs.AddFolder(dropped[2]);
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    Open<CQuintorDlg>();
    ShowWindow(hwnd, SW_SHOWNA);
    Choose(ID_POPUP_INSERT, {"E:\\load\\a.bin", "E:\\load\\b.sdl", "E:\\load\\c.dnl"});
    ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetCheckState(Item(IDC_DOWNLOAD_LIST), 0, TRUE);
    Received received;
    SetWindowSubclass(hwnd, &Received::Proc, 1, reinterpret_cast<DWORD_PTR>(&received));
    test.act();
    RemoveWindowSubclass(hwnd, &Received::Proc, 1);
    EXPECT_EQ(Rows(), test.rows);
    EXPECT_EQ(received.counts[WM_INITMENUPOPUP], test.popups);
  }
}

TEST_F(WindowTest, DvtWindowShowsItsCaseAndStoresItsFolderAtOnce) {
  Open<CDvtTestDlg>(std::string(kTool), 2, 6, 1, 2, 1);
  for (int button : {IDC_DVT_NEXT, IDC_DVT_PROV, IDC_DVT_PROV}) Click(button);  // to case 1, 0, the last
  const DvtCaseView v = ComposeCaseView(GetDvtTestCaseCount() - 1).value();
  const std::pair<int, std::string> texts[] = {
      {IDC_DVT_TITLE, v.title}, {IDC_DVT_FILE, v.fileName}, {IDC_DVT_TYPICAL_ERROR, v.typicalError},
      {IDC_DVT_DESCRIPTION, v.description}, {IDC_DVT_SERIAL_RESULT, v.serialResult},
      {IDC_DVT_OTA_RESULT, v.otaResult}, {IDC_DVT_INITIATION, v.initiation}, {IDC_DVT_ADDITIONAL, v.additional}};
  for (const auto& text : texts) EXPECT_EQ(Text(text.first), text.second);
  dialogs.folders.push_back("E:\\dvt");
  Click(IDC_DVT_OPEN);
  EXPECT_EQ(store.Bytes(kSettingsKeyPath, "Dvt_Path"), Utf16Bytes("E:\\dvt"));
}

// A stored S/N longer than its field takes: "Start !!" refuses it with the
// standard message; Enter closes as Esc does, storing it back unchecked.
TEST_F(WindowTest, BbcbWindowRefusesAnOverlongTextFiltersAsTypedRunsAndStoresAtClose) {
  store.SetText(kSettingsKeyPath, "BBCB_SN", "0123456789");
  Open<CBbcbSettingDlg>();
  int refused = 0;
  onActivation = [&](HWND message) { refused += Press(message, IDOK); };
  Click(IDC_BBCB_START);
  Click(IDOK);
  EXPECT_EQ(refused, 1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_EQ(store.Bytes(kSettingsKeyPath, "BBCB_SN"), Utf16Bytes("0123456789"));

  Open<CBbcbSettingDlg>();
  const BbcbInputs in{"D:\\maker\\irdeto_make_bbcb.exe", "E:\\cfg\\box.cfg", "G:\\rel", "12934", "1A2B3C4D",
                      "MF 001 & co \xED\x95\x9C", clock.now};
  Choose(IDC_BBCB_TOOL_OPEN, {in.toolPath});
  Choose(IDC_BBCB_CONFIG_OPEN, {in.configPath});
  fs.AddFolder(in.outputFolder);
  dialogs.folders.push_back(in.outputFolder);
  Click(IDC_BBCB_OUTPUT_SAVE);
  const HWND sn = Item(IDC_BBCB_SN), rn = Item(IDC_BBCB_RN);
  for (wchar_t c : std::wstring(L"1A-2B:3C4DEF")) SendMessageW(rn, WM_CHAR, c, 1);  // hex digits only, 8 at most
  EXPECT_EQ(Text(IDC_BBCB_RN), in.rn);
  SetWindowTextW(Item(IDC_BBCB_MANUFACTURER_SN), Widen(in.manufacturerSn).c_str());
  SetWindowTextW(sn, L"1234");
  SendMessageW(sn, EM_SETSEL, 2, 2);
  for (wchar_t c : std::wstring(L"x9")) SendMessageW(sn, WM_CHAR, c, 1);
  EXPECT_EQ(Text(IDC_BBCB_SN), in.serialNumber) << "the caret stays after the digits it followed";
  Click(IDC_BBCB_START);
  EXPECT_EQ(fs.Content(GetModuleFolder(env) + "run_bbcb.bat"),
            ComposeBbcbScript(in, BbcbStampedFolder(in.outputFolder, in.start)).value_or("none"));
}

}  // namespace
