// The windows in-process on their templates, over doubles of the services (the main window's
// runs on the real ones); what a window wrote is compared with what the composers make of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>

#include "bbcb/bbcbjob.h"
#include "bbcb/bbcbsettingdlg.h"
#include "core/paths.h"
#include "core/settings.h"
#include "dvt/dvttestdlg.h"
#include "invocation/script.h"
#include "mainwin/quintordlg.h"
#include "resources/resource.h"
#include "tests/e2e/window.h"
#include "tests/support/winscratch.h"
#include "uisupport/filedialogs.h"
#include "uisupport/folderdialog.h"
#include "uisupport/uiservices.h"

namespace {

// The system's dialogs answer the next scripted choice (cancelled when none is left), noting each request.
struct ScriptedDialogs : FileDialogs, FolderPicker {
  std::vector<std::string> Choose(const FileDialogRequest& request) override {
    return asked.push_back((request.kind == FileDialogRequest::kSave ? "save " : "open ") +
                           std::string(request.multiSelect ? "many " : "") + request.filter + " at " + request.initialFolder),
           Next(files);
  }
  std::optional<std::string> ChooseFolder(HWND, const std::string& title, const std::string& initial) override {
    return asked.push_back("folder " + title + " at " + initial), Next(folders);
  }
  template <class T>
  static T Next(std::deque<T>& answers) {
    T next = answers.empty() ? T() : answers.front();
    if (!answers.empty()) answers.pop_front();
    return next;
  }
  std::deque<std::vector<std::string>> files;
  std::deque<std::optional<std::string>> folders;
  std::vector<std::string> asked;
};

const char kTool[] = "D:\\Bench\\Dorvik.exe";

ListView List(HWND hwnd) {
  ListView list;
  list.Attach(hwnd);
  return list;
}

// Presses a button of `dialog` once the caller's work is done.
bool Press(HWND dialog, int id) { return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Whether `window` is centred on its owner, or on the screen without one.
bool CentredOnOwner(HWND window) {
  RECT w = {}, o = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  GetWindowRect(window, &w), GetWindowRect(GetWindow(window, GW_OWNER), &o);
  return std::abs(w.left + w.right - o.left - o.right) <= 2 && std::abs(w.top + w.bottom - o.top - o.bottom) <= 2;
}

// Gets the next window this thread activates (a modal window as it opens), once.
std::function<void(HWND)> onActivation;

LRESULT CALLBACK ActivationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && onActivation) std::exchange(onActivation, nullptr)(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WindowTest : public ::testing::Test, protected FakeServices {
 protected:
  void TearDown() override { Close(), UnhookWindowsHookEx(hook), onActivation = nullptr; }
  // Opens and shows a window of class T over `opened`. Every id of its handler and exchange tables
  // must be a control of its template or a command of the popup menu.
  template <class T, class... Args>
  void Open(Args... args) {
    Close();
    window.reset(new T(*opened, args...));
    ASSERT_NE(hwnd = window->CreateModeless(), nullptr);
    ShowWindow(hwnd, SW_SHOWNA);
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUP_MENU));
    for (int id : window->HandlerControlIds()) EXPECT_TRUE(Item(id) || GetMenuState(menu, id, MF_BYCOMMAND) != ~0u) << id;
    const std::vector<int> exchanged = window->ExchangeControlIds();
    for (int id : exchanged) EXPECT_NE(Item(id), nullptr) << id;
    EXPECT_FALSE(exchanged.empty() || !DestroyMenu(menu));
  }
  void Close(int with = IDCANCEL) {  // Esc, or Enter
    if (hwnd && IsWindow(hwnd)) Click(with);
    EXPECT_TRUE(!window || !window->GetSafeHwnd()) << "a closed window's handle is forgotten";
    window.reset();
  }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  std::string Text(int id) const { return window->ItemText(id); }
  // A button, or with code 0 a popup menu's command.
  void Click(int id, WORD code = BN_CLICKED) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, code), 0); }
  void Check(int id, bool on = true) { SendMessageW(Item(id), BM_SETCHECK, on, 0), Click(id); }
  // Chooses `row` of a drop-down list; -1 leaves none chosen.
  void Pick(int id, int row) { SendMessageW(Item(id), CB_SETCURSEL, row, 0), Click(id, CBN_SELCHANGE); }
  // Presses `button` with the file dialog answering `paths`, which exist.
  void Choose(int button, const std::vector<std::string>& paths) {
    for (const std::string& path : paths) fs.AddFile(path, "x");
    dialogs.files.push_back(paths), Click(button, button == ID_POPUP_INSERT ? 0 : BN_CLICKED);
  }
  // The download rows as "[x] FOLDER\NAME *": checked, and selected.
  std::vector<std::string> Rows() const {
    const ListView list = List(Item(IDC_DOWNLOAD_LIST));
    std::vector<std::string> rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      rows.push_back((list.GetCheck(i) ? "[x] " : "[ ] ") + AsciiUpper(list.GetItemText(i, 1) + "\\" +
                     list.GetItemText(i, 2)) + (ListView_GetItemState(list.GetSafeHwnd(), i, LVIS_SELECTED) ? " *" : ""));
    }
    if (!IsWindowVisible(list.GetSafeHwnd())) rows.push_back("left without redrawing");
    return rows;
  }
  ScriptedDialogs dialogs;
  UiServices ui{services, store, clock, dialogs, dialogs};
  UiServices* opened = &ui;
  std::unique_ptr<Dialog> window;
  HWND hwnd = nullptr;
  const HHOOK hook = SetWindowsHookExW(WH_CBT, &ActivationHook, nullptr, GetCurrentThreadId());
};

// Counts the messages a window gets, and stands in for the taskbar: what the taskbar is told, and WM_APP during a run
// (with the pointer over the window), go to `events`; WM_APP also sets the named event the stand-in tool waits on.
struct Received : Taskbar {
  std::map<UINT, int> counts;
  std::vector<std::string> events;
  HWND main = nullptr;
  std::function<void()> whenIdle;  // once a run has ended
  const std::wstring name = L"QuintorTestRelease-" + std::to_wstring(GetCurrentProcessId());
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  ~Received() { CloseHandle(release); }
  void ShowBusy(HWND window, bool busy) override {
    if (!busy && whenIdle) std::exchange(whenIdle, nullptr)();
    events.push_back((busy ? "busy" : "idle") + std::string(window == main ? "" : " elsewhere"));
  }
  void Flash(HWND window) override { events.push_back(window == main ? "flash" : "flash elsewhere"); }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    Received& r = *reinterpret_cast<Received*>(self);
    ++r.counts[message];
    if (message == WM_APP) {  // the pointer from the start, and as a move over the window sets it
      const HCURSOR appStarting = LoadCursorW(nullptr, IDC_APPSTARTING), atOnce = GetCursor();
      SetCursor(nullptr), SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      const bool starting = atOnce == appStarting && GetCursor() == appStarting;
      r.events.push_back(IsRunInProgress() && starting ? "run" : "no run, or no pointer"), SetEvent(r.release);
    }
    if (message == WM_INITMENUPOPUP) {  // a popup closes once shown, noting where
      const bool greyed = GetMenuState(reinterpret_cast<HMENU>(wParam), ID_POPUP_DELETE, MF_BYCOMMAND) & MF_GRAYED;
      r.events.push_back(greyed ? "popup, Delete greyed" : "popup"), PostMessageW(hwnd, WM_APP + 1, 0, 0);
    }
    if (message == WM_APP + 1) {
      RECT menu = {};
      POINT pointer = {};
      GetWindowRect(FindWindowW(L"#32768", nullptr), &menu), GetCursorPos(&pointer);
      const HWND list = GetDlgItem(hwnd, IDC_DOWNLOAD_LIST);  // below the focused row's left end
      RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
      SendMessageW(list, LVM_GETITEMRECT, ListView_GetNextItem(list, -1, LVNI_FOCUSED), reinterpret_cast<LPARAM>(&bounds));
      POINT row = {bounds.left, bounds.bottom};
      ClientToScreen(list, &row);
      const bool atPointer = menu.left == pointer.x && menu.top == pointer.y, atRow = menu.left == row.x && menu.top == row.y;
      r.events.push_back(atPointer ? "at the pointer" : atRow ? "at the row" : "elsewhere"), EndMenu();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
};

// The main window over the real file system, cmd and the stand-in tool, which ends a run only once
// the window has handled what was posted before it. A stored value in no catalogue row (300 baud)
// shows no selection and is stored back. Each window opens centred on its owner.
TEST_F(WindowTest, MainWindowRunsAsComposedPaintsDuringARunAndShowsAnException) {
  Received received;
  RealServices os(&received);
  const std::string tool = os.scratch.Make("tool") + "\\Dorvik.exe", program = os.env.program;
  ASSERT_TRUE(CopyStandIn(tool));
  UiServices real{os.services, store, clock, dialogs, dialogs};
  const ScopedEnv wait("DORVIK_WAIT_EVENT", Narrow(received.name));
  store.SetText(kSettingsKeyPath, "Serial_Baudrate", "300"), store.SetText(kSettingsKeyPath, "Dvt_Path", "E:\\dvt");
  opened = &real;
  Open<CQuintorDlg>();
  EXPECT_EQ(SendMessageW(Item(IDC_BAUD_RATE), CB_GETCURSEL, 0, 0), CB_ERR);
  // As it opens: centred, its icons, About in the system menu after a line, the lists' columns and
  // styles, drops taken by the list alone, nothing to view and no lock option yet.
  const HMENU system = GetSystemMenu(hwnd, FALSE);
  const int items = GetMenuItemCount(system);
  wchar_t about[64] = {};
  GetMenuStringW(system, items - 1, about, 64, MF_BYPOSITION);
  std::string seen = Narrow(about) + (GetMenuState(system, items - 2, MF_BYPOSITION) & MF_SEPARATOR ? " after a line" : "");
  for (const int id : {IDC_DOWNLOAD_LIST, IDC_RUN_HISTORY}) {
    wchar_t heading[32];
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM, c.pszText = heading, c.cchTextMax = 32;
    for (int column = 0; ListView_GetColumn(Item(id), column, &c); ++column)
      seen += "; " + Narrow(heading) + "/" + std::to_string(c.cx) + "/" + std::to_string(c.iSubItem);
    seen += "; styles " + std::to_string(ListView_GetExtendedListViewStyle(Item(id)));
  }
  EXPECT_EQ(seen, "Quintor \xEC\xA0\x95\xEB\xB3\xB4(&A)... after a line; /18/0; File Path/0/1; File Name/340/2; styles 36; "
                  "/0/0; String/290/1; styles 36");
  const auto icon = [this](WPARAM which) { return SendMessageW(hwnd, WM_GETICON, which, 0); };
  EXPECT_TRUE(CentredOnOwner(hwnd) && icon(ICON_BIG) && icon(ICON_SMALL) && icon(ICON_BIG) == SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0));
  EXPECT_EQ(GetWindowLongPtrW(Item(IDC_DOWNLOAD_LIST), GWL_EXSTYLE) & ~GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, WS_EX_ACCEPTFILES);
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_VIEW_LOG)) || IsWindowEnabled(Item(IDC_SCS)));
  for (int row = 0; row < kCommandOptionCount; ++row) {  // rows 2 and 4 are the lock commands
    Pick(IDC_COMMAND, row);
    for (int id : {IDC_SCS, IDC_JEI, IDC_CW}) EXPECT_EQ(IsWindowEnabled(Item(id)) != FALSE, row == 2 || row == 4);
    if (IsWindowEnabled(Item(IDC_SCS))) Check(IDC_SCS);
  }
  EXPECT_EQ(SendMessageW(Item(IDC_SCS), BM_GETCHECK, 0, 0), BST_CHECKED) << "a check stays with its option";
  int modals = 0, bbcb = 0;
  const auto modal = [&](HWND w) {
    modals += !IsWindowEnabled(hwnd) && CentredOnOwner(w), bbcb += GetDlgItem(w, IDC_BBCB_START) != nullptr;
    Press(w, IDCANCEL);
  };
  onActivation = modal;
  SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);  // the low four bits are the system's
  onActivation = modal;
  Click(IDC_BBCB_SETTING);
  EXPECT_TRUE(modals == 2 && bbcb == 1 && IsWindowEnabled(hwnd)) << "About and BBCB Setting: modal, centred, closed";
  Choose(IDC_TOOL_OPEN, {tool});
  const std::pair<int, int> picks[] = {{IDC_PORT, 2}, {IDC_BAUD_RATE, -1}, {IDC_DATA_BITS, 3}, {IDC_STOP_BITS, 2}, {IDC_PARITY, 1}, {IDC_COMMAND, 2}};
  for (const auto& [list, row] : picks) Pick(list, row);
  const std::string images[] = {"E:\\load\\bbcb.bin", "F:\\keys\\" + std::string(300, 'k') + ".dnl", "F:\\keys\\unticked.sdl"};
  Choose(ID_POPUP_INSERT, {images[0], images[1], images[2]});
  for (int row : {0, 1}) ListView_SetCheckState(Item(IDC_DOWNLOAD_LIST), row, TRUE);
  Check(IDC_JEI), Check(IDC_CW), Check(IDC_DEBUG_PRINT, false), Check(IDC_DEBUG_CAPTURE);
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_VIEW_LOG)));
  Choose(IDC_OUTPUT_SAVE, {"C:\\out\\result"});  // ".txt" only for a path without an extension
  const std::string saved = Text(IDC_OUTPUT_PATH);
  Choose(IDC_OUTPUT_SAVE, {"G:\\out\\result.txt"}), Click(IDC_OUTPUT_SAVE);  // then cancelled
  EXPECT_EQ(saved + " " + Text(IDC_OUTPUT_PATH), "C:\\out\\result.txt G:\\out\\result.txt");
  // "Start" with Quintor not in front: input and a second click posted during the run are dropped.
  received.main = hwnd, SetWindowSubclass(hwnd, &Received::Proc, 1, reinterpret_cast<DWORD_PTR>(&received));
  const UINT inputs[] = {WM_KEYFIRST, WM_IME_KEYLAST, WM_MOUSEFIRST, WM_MOUSELAST, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK,
                        WM_NCMOUSEHOVER, WM_MOUSELEAVE, 0x0240, 0x0257, WM_INPUT};
  for (UINT input : inputs) PostMessageW(hwnd, input, 0, 0);
  PostMessageW(Item(IDC_START), BM_CLICK, 0, 0), Press(hwnd, IDCANCEL), InvalidateRect(hwnd, nullptr, TRUE);
  PostQuitMessage(7), PostMessageW(hwnd, WM_APP, 0, 0), SetForegroundWindow(GetDesktopWindow());
  RECT window = {};
  GetWindowRect(hwnd, &window) && SetCursorPos((window.left + window.right) / 2, (window.top + window.bottom) / 2);
  Click(IDC_START);
  EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_APPSTARTING)) << "the pointer is the window's again";
  EXPECT_EQ(received.events, (std::vector<std::string>{"busy", "run", "idle", "flash"}));
  EXPECT_TRUE(received.counts[WM_PAINT] >= 1 && received.counts[WM_ICONERASEBKGND] == 0) << "painted, not as an icon";
  for (UINT input : inputs) EXPECT_EQ(received.counts[input], 0) << input;
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    EXPECT_FALSE(IsUserInputMessage(msg.message)) << msg.message;
    if (msg.message == WM_QUIT) quit = msg.wParam == 7;
    if (msg.message != WM_QUIT) DispatchMessageW(&msg);
  }
  EXPECT_TRUE(quit) << "the quit request is kept";
  EXPECT_EQ(os.Runs(), 1u);
  std::vector<DownloadRow> files;
  for (int i = 0; i < 3; ++i) files.push_back({i < 2, GetPathFolder(images[i]), GetPathFileName(images[i])});
  const ToolCommandInputs in{tool, PortOptions[2].value, std::nullopt, DataBitsOptions[3].value,
                             StopBitsOptions[2].value, ParityOptions[1].value, CommandOptions[2].value, files,
                             true, true, true, "G:\\out\\result.txt", false};
  ASSERT_NE(ComposeRunScript(in, clock.now), "");
  EXPECT_EQ(ReadFileText(program + kRunScriptName), ComposeRunScript(in, clock.now));
  const std::vector<std::string> lines = ComposeRunHistoryLines(in, clock.now);
  const ListView history = List(Item(IDC_RUN_HISTORY));
  EXPECT_EQ(history.GetItemCount(), static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(history.GetItemText(static_cast<int>(i), 1), lines[i]);
  // The DVT Test window shows its first case in a bold title, gets the tool
  // and the list positions, and runs the case it shows (case 1, 0, the last).
  const DvtCaseView v = ComposeCaseView(0).value();
  std::vector<std::string> titles;
  const std::pair<int, std::string> texts[] = {
      {IDC_DVT_TITLE, v.title}, {IDC_DVT_FILE, v.fileName}, {IDC_DVT_TYPICAL_ERROR, v.typicalError},
      {IDC_DVT_DESCRIPTION, v.description}, {IDC_DVT_SERIAL_RESULT, v.serialResult},
      {IDC_DVT_OTA_RESULT, v.otaResult}, {IDC_DVT_INITIATION, v.initiation}, {IDC_DVT_ADDITIONAL, v.additional}};
  onActivation = [&](HWND dvt) {
    for (const auto& text : texts) EXPECT_EQ(Narrow(WindowText(GetDlgItem(dvt, text.first))), text.second);
    LOGFONTW title = {};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(dvt, IDC_DVT_TITLE, WM_GETFONT, 0, 0)), sizeof title, &title);
    modals += CentredOnOwner(dvt) && title.lfWeight == 800 && std::wstring(title.lfFaceName) == L"Arial";
    const HDC dc = GetDC(dvt);  // the title's text colour, the two warnings', the system's
    std::vector<COLORREF> colours;
    for (int id : {IDC_DVT_TITLE, IDC_DVT_FILE, IDC_DVT_TYPICAL_ERROR, IDC_DVT_DESCRIPTION})
      SendMessageW(dvt, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(dvt, id))),
          colours.push_back(GetTextColor(dc));
    EXPECT_EQ(colours, (std::vector<COLORREF>{RGB(39, 90, 244), RGB(250, 67, 14), RGB(250, 67, 14), GetSysColor(COLOR_WINDOWTEXT)}));
    ReleaseDC(dvt, dc);
    for (int button : {IDC_DVT_PROV, IDC_DVT_PROV, IDC_DVT_NEXT, IDC_DVT_TEST_RUN}) Press(dvt, button);
    received.whenIdle = [dvt, &titles] {  // Esc during the run would be dropped
      titles.push_back(Narrow(WindowText(GetDlgItem(dvt, IDC_DVT_TITLE)))), SendMessageW(dvt, WM_COMMAND, IDC_DVT_PROV, 0);
      titles.push_back(Narrow(WindowText(GetDlgItem(dvt, IDC_DVT_TITLE)))), Press(dvt, IDCANCEL);
    };
  };
  Click(IDC_DVT_TEST);
  EXPECT_EQ(modals, 3);
  EXPECT_EQ(titles, (std::vector<std::string>{ComposeCaseView(29)->title, ComposeCaseView(28)->title}));
  EXPECT_EQ(ReadFileText(program + kDvtScriptName),
            ComposeDvtScript({tool, 2, -1, 3, 2, 1, "E:\\dvt", GetDvtTestCaseCount() - 1}, clock.now));
  // Another run, uncaptured: only its rows highlighted. One whose tool has gone adds none.
  Check(IDC_DEBUG_CAPTURE, false);
  Click(IDC_START);
  EXPECT_NE(ReadFileText(program + kCaptureLogName).find("Dorvik stand-in: done"), std::string::npos) << "kept";
  ASSERT_TRUE(DeleteFileW(Widen(tool).c_str()));
  Click(IDC_START);
  const int n = static_cast<int>(lines.size());
  EXPECT_EQ(history.GetItemCount(), 2 * n);
  EXPECT_TRUE(history.GetSelectedCount() == n && history.GetNextSelected(-1) == n) << "only the last run's rows";
  // An exception in a handler is shown, and the window goes on.
  wchar_t shown[256] = {};
  onActivation = [&](HWND message) { GetDlgItemTextW(message, 0xFFFF, shown, 256) && Press(message, IDOK); };
  ASSERT_TRUE(CopyStandIn(tool));
  received.whenIdle = [] { throw std::runtime_error("disk on fire"); };
  Click(IDC_START);
  EXPECT_TRUE(Narrow(shown).find("disk on fire") != std::string::npos && history.GetItemCount() == 2 * n) << Narrow(shown);
  // A modal window ends as one, its title bar on the screen under an owner off it.
  RECT work = {}, dvt = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd, nullptr, work.left - 600, work.top - 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  onActivation = [&dvt](HWND w) { GetWindowRect(w, &dvt), Press(w, IDCANCEL); };
  EXPECT_EQ(CDvtTestDlg(real, std::string(kTool), 0, 0, 0, 0, 0).DoModal(hwnd), IDCANCEL);
  EXPECT_TRUE(dvt.left == work.left && dvt.top == work.top) << dvt.left << "," << dvt.top;
  RemoveWindowSubclass(hwnd, &Received::Proc, 1);
  Close();  // while the services it was given live
  EXPECT_EQ(store.Bytes(kSettingsKeyPath, "Serial_Baudrate"), Utf16Bytes("300"));
}

// A drop as the shell posts it: wide paths, each with its zero, and one more.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) list += Widen(path) + L'\0';
  const HGLOBAL handle = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
  DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(handle));
  *drop = {sizeof(DROPFILES), {}, FALSE, TRUE};
  std::memcpy(drop + 1, list.c_str(), (list.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(handle);
  return static_cast<HDROP>(handle);
}

// A shortcut file at `path` to `target`, as the shell makes one.
void MakeShortcut(const std::string& path, const std::string& target) {
  OleScope ole;
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;
  ASSERT_TRUE(SUCCEEDED(lazy::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                               reinterpret_cast<void**>(link.Out()))));
  link.Get()->SetPath(Widen(target).c_str());
  ASSERT_TRUE(SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))));
  ASSERT_TRUE(SUCCEEDED(file.Get()->Save(Widen(path).c_str(), TRUE)));
}

// Each case starts from three rows, the first ticked and selected, the last focused. Insert and drops skip listed
// files, whatever their case; a dropped shortcut stands for its target; keys act only with exactly their modifiers.
TEST_F(WindowTest, DropsAndKeysInTheDownloadListGoThroughInsertDeleteAndThePopup) {
  ScratchFolder scratch;
  const std::string target = scratch.path + "\\b image.dnl", link = scratch.path + "\\b image.lnk";
  std::ofstream(std::filesystem::path(Widen(target))) << "image";
  MakeShortcut(link, target);
  MakeShortcut(scratch.path + "\\folder.lnk", scratch.path), MakeShortcut(scratch.path + "\\again.lnk", link);
  const std::vector<std::string> dropped = {"e:\\LOAD\\A.BIN", "E:\\load\\new.kfb", "E:\\load\\folder", "E:\\load\\gone",
                                            link, scratch.path + "\\folder.lnk", scratch.path + "\\again.lnk"};
  const auto send = [this](UINT message, WPARAM wParam, LPARAM lParam = 0, std::vector<BYTE> held = {}) {
    BYTE keys[256] = {};
    for (BYTE key : held) keys[key] = 0x80;  // the modifiers held down
    SetKeyboardState(keys);
    SendMessageW(Item(IDC_DOWNLOAD_LIST), message, wParam, lParam);
    for (BYTE key : held) keys[key] = 0;
    SetKeyboardState(keys);
  };
  const auto drop = [&] {
    const HDROP files = MakeDrop(dropped);
    send(WM_DROPFILES, reinterpret_cast<WPARAM>(files));
    EXPECT_EQ(GlobalSize(files), 0u) << "released";
  };
  const auto list = [this] { return reinterpret_cast<WPARAM>(Item(IDC_DOWNLOAD_LIST)); };
  const std::string a = "[x] E:\\LOAD\\A.BIN", b = "[ ] E:\\LOAD\\B.SDL", c = "[ ] E:\\LOAD\\C.DNL";
  const std::string added = "[ ] E:\\LOAD\\NEW.KFB *", shortcut = "[ ] " + AsciiUpper(target) + " *";
  const std::vector<std::string> none = {a + " *", b, c};
  const auto deselect = [this] { ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), 0, 0, LVIS_SELECTED); };
  const auto rightClick = [this] {
    const NMHDR click = {Item(IDC_DOWNLOAD_LIST), IDC_DOWNLOAD_LIST, static_cast<UINT>(NM_RCLICK)};
    SetCursorPos(100, 100), SendMessageW(hwnd, WM_NOTIFY, IDC_DOWNLOAD_LIST, reinterpret_cast<LPARAM>(&click));
  };
  const struct { const char* what; std::function<void()> act; std::vector<std::string> rows, popups; } cases[] = {
      {"drop", drop, {a, b, c, added, shortcut}, {}},
      {"drop during a run", [&] { RunInProgressScope run; drop(); }, none, {}},
      {"Delete", [&] { send(WM_KEYDOWN, VK_DELETE); }, {b, c}, {}},
      {"popup Delete", [&] { Click(ID_POPUP_DELETE, 0); }, {b, c}, {}},
      {"Delete, none selected", [&] { deselect(), send(WM_KEYDOWN, VK_DELETE); }, {a, b, c}, {}},
      {"Delete, all selected", [&] { send(WM_KEYDOWN, 'A', 0, {VK_CONTROL}), send(WM_KEYDOWN, VK_DELETE); }, {}, {}},
      {"Insert", [&] { dialogs.files.push_back({"E:\\Load\\B.Sdl", dropped[1]}); send(WM_KEYDOWN, VK_INSERT); },
       {a, b, c, added}, {"file dialog"}},
      {"Insert cancelled", [&] { Click(ID_POPUP_INSERT, 0); }, none, {"file dialog"}},
      {"Insert of listed files", [&] { dialogs.files.push_back({b.substr(4)}); Click(ID_POPUP_INSERT, 0); }, {a, b, c},
       {"file dialog"}},
      {"keys with other modifiers, a menu at a point", [&] {
         dialogs.files.push_back({dropped[1]});
         send(WM_KEYDOWN, VK_DELETE, 0, {VK_SHIFT}), send(WM_KEYDOWN, VK_INSERT, 0, {VK_CONTROL});
         send(WM_KEYDOWN, 'A', 0, {VK_CONTROL, VK_MENU}), send(WM_KEYDOWN, 'A', 0, {VK_CONTROL, VK_SHIFT});  // AltGr+A
         send(WM_CONTEXTMENU, list(), MAKELPARAM(-1, 5));
         SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Item(IDC_RUN_HISTORY)), -1);  // another list's menu
       }, none, {}},
      {"Ctrl+A", [&] { send(WM_KEYDOWN, 'A', 0, {VK_CONTROL}); }, {a + " *", b + " *", c + " *"}, {}},
      {"Space", [&] { send(WM_KEYDOWN, VK_SPACE); }, {a, b, "[x] E:\\LOAD\\C.DNL *"}, {}},
      {"context-menu key", [&] { send(WM_CONTEXTMENU, list(), static_cast<LPARAM>(0xFFFFFFFFu)); }, none,
       {"popup", "at the row"}},
      {"Shift+F10, none selected", [&] { deselect(), send(WM_SYSKEYDOWN, VK_F10, 0, {VK_SHIFT}); }, {a, b, c},
       {"popup, Delete greyed", "at the row"}},
      {"right click", rightClick, none, {"popup", "at the pointer"}},
  };
  for (const std::string& file : {dropped[0], dropped[1], target}) fs.AddFile(file, "x");
  for (const std::string& folder : {dropped[2], scratch.path}) fs.AddFolder(folder);
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    Open<CQuintorDlg>();
    Choose(ID_POPUP_INSERT, {"E:\\load\\a.bin", "E:\\load\\b.sdl", "E:\\load\\c.dnl"});
    ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(Item(IDC_DOWNLOAD_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetCheckState(Item(IDC_DOWNLOAD_LIST), 0, TRUE);
    Received received;
    SetWindowSubclass(hwnd, &Received::Proc, 1, reinterpret_cast<DWORD_PTR>(&received)), test.act();
    if (dialogs.asked.size() > 1) received.events.push_back("file dialog");
    RemoveWindowSubclass(hwnd, &Received::Proc, 1), dialogs.files.clear(), dialogs.asked.clear();
    EXPECT_EQ(Rows(), test.rows);
    EXPECT_EQ(received.events, test.popups);
  }
}

// Each stored value is shown in its own control and stored back from it under its own name, as
// entered within the field's limit; each chooser asks with its own texts, from its control's value.
TEST_F(WindowTest, EachStoredValueHasItsControlAndEachChooserItsRequest) {
  // `entered` is typed into an edit field, or is the row chosen in a list.
  struct Binding { const char* name; const char* stored; int id; const char* shown; const char* entered; const char* saved; };
  const char kMac[] = "BBCB_Menufacturer_Mac", kMacs[] = "0A0B0C0D0E0F", kMacsSaved[] = "01BCD00D0E0F";
  const std::string sn31 = "MF & \xED\x95\x9C 0123456789abcdefghijklmn", snLong = sn31 + "opq";  // 31 UTF-16 units
  const std::vector<Binding> mainValues = {
      {"Dorvik_Path", kTool, IDC_TOOL_PATH, kTool, "D:\\B\\Dorvik.exe", "D:\\B\\Dorvik.exe"},
      {"Serial_Port", "3", IDC_PORT, "COM3", "8", "9"}, {"Serial_Baudrate", "9600", IDC_BAUD_RATE, "9600", "0", "2400"},
      {"Serial_Data", "7", IDC_DATA_BITS, "7 bit", "1", "6"}, {"Serial_Stopbits", "2", IDC_STOP_BITS, "2 bit", "1", "1"},
      {"Serial_Parity", "1", IDC_PARITY, "Odd", "2", "2"}, {"Output_Path", "G:\\out.txt", IDC_OUTPUT_PATH, "G:\\out.txt", "H:\\o", "H:\\o"}};
  const std::vector<Binding> bbcbValues = {
      {"BBCB_Path", "D:\\M\\make.exe", IDC_BBCB_TOOL_PATH, "D:\\M\\make.exe", "D:\\N\\make.exe", "D:\\N\\make.exe"},
      {"BBCB_Config", "E:\\a.cfg", IDC_BBCB_CONFIG_PATH, "E:\\a.cfg", "E:\\b.cfg", "E:\\b.cfg"},
      {"BBCB_SN", "12-AB", IDC_BBCB_SN, "12-AB", "x1y2-3", "123"},  // shown as stored, filtered as typed
      {"BBCB_RN", "1A2B3C4D", IDC_BBCB_RN, "1A2B3C4D", "123456789", "12345678"},
      {"BBCB_Menufacturer_SN", "MF 001", IDC_BBCB_MANUFACTURER_SN, "MF 001", snLong.c_str(), sn31.c_str()},
      {"BBCB_Output", "G:\\rel", IDC_BBCB_OUTPUT_FOLDER, "G:\\rel", "H:\\rel", "H:\\rel"},
      {kMac, kMacs, IDC_BBCB_MAC1, "0A", "x1", kMacsSaved}, {kMac, kMacs, IDC_BBCB_MAC2, "0B", "BCD", kMacsSaved},
      {kMac, kMacs, IDC_BBCB_MAC3, "0C", "D0", kMacsSaved}, {kMac, kMacs, IDC_BBCB_MAC4, "0D", nullptr, kMacsSaved},
      {kMac, kMacs, IDC_BBCB_MAC5, "0E", nullptr, kMacsSaved}, {kMac, kMacs, IDC_BBCB_MAC6, "0F", nullptr, kMacsSaved}};
  for (const char* file : {kTool, "D:\\B\\Dorvik.exe", "D:\\M\\make.exe", "D:\\N\\make.exe", "E:\\a.cfg", "E:\\b.cfg", "H:\\o"})
    fs.AddFile(file, "x");
  store.SetText(kSettingsKeyPath, "Dvt_Path", "E:\\dvt");
  const std::string tool = "open All File(*.exe)|*.exe|| at ", release = "folder Select the release folder for browse dialog at ";
  // Each window opens, its choosers are cancelled, its values entered; the main window views the
  // output file and the BBCB window runs them before they close.
  const struct { std::function<void()> open; std::vector<Binding> values; std::vector<int> choosers; std::vector<std::string> asked; int run; } windows[] = {
      {[this] { Open<CQuintorDlg>(); }, mainValues, {IDC_TOOL_OPEN, ID_POPUP_INSERT, IDC_OUTPUT_SAVE, ID_POPUP_DVT_FILE_INSERT},
       {tool + kTool, "open many Irdeto Download File(*.bin,*.dnl,*.sdl,*.vdl,*.kfb)|*.bin;*.dnl;*.sdl;*.vdl;*.kfb|All Files(*.*)|*.*|| at ",
        "save All File(*.*)|*.*|| at G:\\out.txt", "folder Select the Dvt Test folder for browse dialog at E:\\dvt"}, IDC_OUTPUT_VIEW},
      {[this] { Open<CBbcbSettingDlg>(); }, bbcbValues, {IDC_BBCB_TOOL_OPEN, IDC_BBCB_CONFIG_OPEN, IDC_BBCB_OUTPUT_SAVE},
       {tool + "D:\\M\\make.exe", "open All File(*.cfg)|*.cfg|| at E:\\a.cfg", release + "G:\\rel"}, IDC_BBCB_START},
      {[this] { Open<CDvtTestDlg>(std::string(kTool), 0, 0, 0, 0, 0); }, {}, {IDC_DVT_OPEN}, {release + "E:\\dvt"}, 0},
  };
  for (const auto& w : windows) {
    for (const Binding& b : w.values) store.SetText(kSettingsKeyPath, b.name, b.stored);
    dialogs.asked.clear(), w.open();
    for (const int chooser : w.choosers) Click(chooser, chooser >= ID_POPUP_INSERT ? 0 : BN_CLICKED);
    EXPECT_EQ(dialogs.asked, w.asked);
    for (const Binding& b : w.values) {
      EXPECT_EQ(Text(b.id), b.shown) << b.name;
      if (!b.entered) continue;
      const std::wstring text = Widen(b.entered);
      if (SendMessageW(Item(b.id), CB_GETCOUNT, 0, 0) > 0) { Pick(b.id, std::atoi(b.entered)); continue; }
      // A static text takes the text; an edit field as typed, within its limit.
      SetWindowTextW(Item(b.id), SendMessageW(Item(b.id), EM_GETLIMITTEXT, 0, 0) ? L"" : text.c_str());
      SendMessageW(Item(b.id), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (w.run) Click(w.run);
    Close(IDOK);
    for (const Binding& b : w.values) EXPECT_EQ(store.Bytes(kSettingsKeyPath, b.name), Utf16Bytes(b.saved)) << b.name;
  }
  EXPECT_EQ(launcher.calls.at(0), "notepad.exe H:\\o > ") << "the output file viewed as entered";
  const BbcbInputs in{"D:\\N\\make.exe", "E:\\b.cfg", "H:\\rel", "123", "12345678", sn31, clock.now};
  EXPECT_EQ(fs.Content(GetModuleFolder(env) + "run_bbcb.bat"),
            ComposeBbcbScript(in, BbcbStampedFolder(in.outputFolder, in.start)).value_or("none"));
  // "Dvt Test File Insert" lists the DVT images found in the chosen folder in place of the rows
  // there; the folder stored at exit is the latest chosen, here in the DVT Test window.
  std::vector<std::string> images;
  for (const char* image : DvtFileSet) fs.AddFile(std::string("F:\\dvt\\") + image, "x");
  for (const char* image : DvtFileSet) images.push_back("[ ] F:\\DVT\\" + AsciiUpper(image) + " *");
  Open<CQuintorDlg>();
  Choose(ID_POPUP_INSERT, {"E:\\load\\a.bin"});
  dialogs.folders = {std::string("F:\\dvt"), std::string("G:\\chosen")};
  Click(ID_POPUP_DVT_FILE_INSERT, 0);
  EXPECT_EQ(Rows(), images);
  onActivation = [](HWND dvt) { Press(dvt, IDC_DVT_OPEN) && Press(dvt, IDCANCEL); };
  Click(IDC_DVT_TEST);
  SetWindowTextW(Item(IDC_OUTPUT_PATH), L"I:\\typed"), Close(IDOK);  // Enter: what the fields hold is taken
  EXPECT_EQ(store.Bytes(kSettingsKeyPath, "Dvt_Path") + store.Bytes(kSettingsKeyPath, "Output_Path"),
            Utf16Bytes("G:\\chosen") + Utf16Bytes("I:\\typed"));
}

// A stored S/N longer than its field takes: "Start !!" refuses it with the standard message; Enter closes as Esc
// does, storing it back unchecked. A typed character that is no hex digit is taken out where it was typed.
TEST_F(WindowTest, BbcbWindowRefusesAnOverlongTextStoresItAtCloseAndFiltersAsTyped) {
  for (const char* name : {"BBCB_SN", "BBCB_RN"}) store.SetText(kSettingsKeyPath, name, "0123456789");
  Open<CBbcbSettingDlg>();
  int refused = 0;
  onActivation = [&](HWND message) {
    const std::wstring text = WindowText(message) + L": " + WindowText(GetDlgItem(message, 0xFFFF));
    refused += text == L"Quintor: Please enter no more than 8 characters." && Press(message, IDOK);
  };
  Click(IDC_BBCB_START);
  EXPECT_TRUE(GetFocus() == Item(IDC_BBCB_RN) && SendMessageW(Item(IDC_BBCB_RN), EM_GETSEL, 0, 0) == MAKELONG(0, 10))
      << "the first field refused, all of it selected";
  Click(IDOK);
  EXPECT_TRUE(refused == 1 && !IsWindow(hwnd) && launcher.calls.empty());
  for (const char* name : {"BBCB_SN", "BBCB_RN"}) EXPECT_EQ(store.Bytes(kSettingsKeyPath, name), Utf16Bytes("0123456789"));
  Open<CBbcbSettingDlg>();
  const HWND sn = Item(IDC_BBCB_SN);
  SetWindowTextW(sn, L"1234"), SendMessageW(sn, EM_SETSEL, 2, 2);  // the caret in the middle
  for (wchar_t c : std::wstring(L"x9")) SendMessageW(sn, WM_CHAR, c, 1);
  EXPECT_TRUE(Text(IDC_BBCB_SN) == "12934" && SendMessageW(sn, EM_CANUNDO, 0, 0)) << "the caret kept, a digit undoable";
  window.reset();
  EXPECT_FALSE(IsWindow(hwnd)) << "an open window goes with its object";
}

// The folder browser, noting the latest selection it reports.
struct Browser : CFolderDialog {
  using CFolderDialog::CFolderDialog;
  void OnBrowseSelectionChange(PCIDLIST_ABSOLUTE item) override {
    CFolderDialog::OnBrowseSelectionChange(item);  // the status line, where asked for
    wchar_t path[MAX_PATH] = {};
    selected = lazy::SHGetPathFromIDListW(item, path) ? Narrow(path) : std::string();
  }
  std::string selected;
};

// The system's dialogs as Quintor sets them up: the file dialog lists the filter's pairs; the save dialog takes a
// name that does not exist yet, or one that does without a question, and the open dialog refuses a missing one; the
// folder browser opens on the given folder, or at its default for a text too long to name one.
TEST_F(WindowTest, SystemDialogsShowTheFilterTakeANewNameAndStartAtTheFolder) {
  ScratchFolder scratch;
  std::vector<std::string> types;
  int step = 0;
  // The dialog is told the name; a message that follows is answered No, and then the dialog is cancelled.
  std::function<void(HWND)> answer = [&](HWND dialog) {
    onActivation = ++step < 3 ? answer : nullptr;
    if (step > 1) return void(Press(dialog, step == 2 ? IDNO : IDCANCEL));
    const HWND combo = GetDlgItem(dialog, 1136);  // the file-type list
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]))));
      types.push_back(Narrow(text));
    }
    SetWindowTextW(FileNameField(dialog), L"new name.txt");
    Press(dialog, IDOK);
  };
  const auto choose = [&](FileDialogRequest::Kind kind, const std::string& start) {
    step = 0, types.clear(), onActivation = answer;
    return ShellFileDialogs().Choose({kind, nullptr, "All File(*.*)|*.*|Images|*.bin;*.dnl||", start});
  };
  EXPECT_EQ(choose(FileDialogRequest::kSave, scratch.path), std::vector<std::string>{scratch.path + "\\new name.txt"});
  EXPECT_EQ(types, (std::vector<std::string>{"All File(*.*)", "Images"}));
  EXPECT_TRUE(choose(FileDialogRequest::kOpen, scratch.path).empty() && step == 3) << "the missing file was refused";
  const std::vector<std::string> existing = {scratch.Make("sub") + "\\new name.txt"};
  std::ofstream(std::filesystem::path(Widen(existing[0]))) << "x";
  EXPECT_EQ(choose(FileDialogRequest::kSave, existing[0]), existing) << "in the file's folder, overwritten without a question";
  Open<CDvtTestDlg>(std::string(kTool), 0, 0, 0, 0, 0);  // the browser's owner
  for (const std::string& folder : {scratch.path, scratch.path + "\\" + std::string(300, 'x')}) {
    const bool whole = folder == scratch.path;  // then chosen, with the status line asked for
    Browser browser("title", folder.c_str(), hwnd, kFolderBrowseFlags | (whole ? BIF_STATUSTEXT : 0));
    // Owned, with a name field, a new-folder button and the selection in the status line if asked.
    bool set = false;
    onActivation = [&, whole](HWND dialog) {
      const auto shown = [dialog](int id) { return GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE; };
      set = GetWindow(dialog, GW_OWNER) == hwnd && shown(14149) && shown(14150) &&
            WindowText(GetDlgItem(dialog, 14147)) == (whole ? Widen(scratch.path) : L"");
      Press(dialog, whole ? IDOK : IDCANCEL);
    };
    EXPECT_TRUE(browser.DoModal() == (whole ? IDOK : IDCANCEL) && set) << folder;
    EXPECT_TRUE((browser.selected == scratch.path) == whole && browser.GetSelectedFolder() == (whole ? scratch.path : ""))
        << browser.selected;
  }
}

}  // namespace
