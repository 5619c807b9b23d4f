#include "mainwin/quintordlg.h"

#include <commctrl.h>

#include <unordered_set>

#include "bbcb/bbcbsettingdlg.h"
#include "core/paths.h"
#include "dvt/dvttestdlg.h"
#include "invocation/script.h"
#include "platform/owner.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "uisupport/droppedfiles.h"

namespace {

const char kToolFilter[] = "All File(*.exe)|*.exe||";
const char kDownloadFilter[] =
    "Irdeto Download File(*.bin,*.dnl,*.sdl,*.vdl,*.kfb)|*.bin;*.dnl;*.sdl;*.vdl;*.kfb|All Files(*.*)|*.*||";
const char kOutputFilter[] = "All File(*.*)|*.*||";

const int kLockOptionIds[] = {IDC_SCS, IDC_JEI, IDC_CW};
// A download row's check box, empty.
const UINT kUncheckedBox = INDEXTOSTATEIMAGEMASK(1);

// Full paths compare as the file system compares them: ignoring case. The
// key is the path upper-cased without regard to the user's language.
std::wstring PathKey(const std::string& path) {
  std::wstring key = Widen(path);
  // In place: upper-casing keeps the length.
  LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, key.c_str(), static_cast<int>(key.size()), &key[0],
               static_cast<int>(key.size()));
  return key;
}

class CAboutDlg : public Dialog {
 public:
  CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
};

}  // namespace

CQuintorDlg::CQuintorDlg(UiServices& services) : TableDialog(IDD_QUINTOR_DIALOG), services_(services) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  m_hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  m_hSmallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
}

// A serial list: the list, its catalogue, the stored value and the command
// line's value.
struct CQuintorDlg::SerialList {
  ComboBox CQuintorDlg::*list;
  const OptionEntry* catalogue;
  int count;
  int32_t MainSettings::*stored;
  std::optional<int32_t> ToolCommandInputs::*input;
};

const std::vector<CQuintorDlg::SerialList>& CQuintorDlg::SerialLists() {
  static const std::vector<SerialList> lists = {
      {&CQuintorDlg::m_cbPort, PortOptions, kPortOptionCount, &MainSettings::port, &ToolCommandInputs::port},
      {&CQuintorDlg::m_cbBaudRate, BaudRateOptions, kBaudRateOptionCount, &MainSettings::baudRate,
       &ToolCommandInputs::baudRate},
      {&CQuintorDlg::m_cbDataBits, DataBitsOptions, kDataBitsOptionCount, &MainSettings::dataBits,
       &ToolCommandInputs::dataBits},
      {&CQuintorDlg::m_cbStopBits, StopBitsOptions, kStopBitsOptionCount, &MainSettings::stopBits,
       &ToolCommandInputs::stopBits},
      {&CQuintorDlg::m_cbParity, ParityOptions, kParityOptionCount, &MainSettings::parity, &ToolCommandInputs::parity},
  };
  return lists;
}

const HandlerTable<CQuintorDlg>& CQuintorDlg::Handlers() {
  static const HandlerTable<CQuintorDlg> rows = {
      OnCommand(IDC_TOOL_OPEN, BN_CLICKED, &CQuintorDlg::OnToolOpen),
      OnCommand(IDC_BBCB_SETTING, BN_CLICKED, &CQuintorDlg::OnBbcbSetting),
      OnCommand(IDC_DVT_TEST, BN_CLICKED, &CQuintorDlg::OnDvtTest),
      OnCommand(IDC_COMMAND, CBN_SELCHANGE, &CQuintorDlg::OnSelchangeCommand),
      OnNotify(IDC_DOWNLOAD_LIST, NM_RCLICK, &CQuintorDlg::OnRclickDownloadList),
      OnNotify(IDC_DOWNLOAD_LIST, LVN_KEYDOWN, &CQuintorDlg::OnKeydownDownloadList),
      OnMessage(WM_CONTEXTMENU, &CQuintorDlg::OnContextMenu),
      OnMessage(WM_DROPFILES, &CQuintorDlg::OnDropFiles),
      OnCommand(ID_POPUP_INSERT, kMenuCommand, &CQuintorDlg::OnInsert),
      OnCommand(ID_POPUP_DELETE, kMenuCommand, &CQuintorDlg::OnDelete),
      OnCommand(ID_POPUP_DVT_FILE_INSERT, kMenuCommand, &CQuintorDlg::OnDvtTestFileInsert),
      OnCommand(IDC_START, BN_CLICKED, &CQuintorDlg::OnStart),
      OnCommand(IDC_VIEW_LOG, BN_CLICKED, &CQuintorDlg::OnViewLog),
      OnCommand(IDC_DEBUG_CAPTURE, BN_CLICKED, &CQuintorDlg::OnDebugCapture),
      OnCommand(IDC_OUTPUT_SAVE, BN_CLICKED, &CQuintorDlg::OnOutputFileSave),
      OnCommand(IDC_OUTPUT_VIEW, BN_CLICKED, &CQuintorDlg::OnOutputFileView),
      OnMessage(WM_SYSCOMMAND, &CQuintorDlg::OnSysCommand),
      OnMessage(WM_PAINT, &CQuintorDlg::OnPaint),
      OnMessage(WM_QUERYDRAGICON, &CQuintorDlg::OnQueryDragIcon),
  };
  return rows;
}

void CQuintorDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(IDC_TOOL_PATH, m_strToolPath);
  dx.Control(IDC_PORT, m_cbPort);
  dx.Control(IDC_BAUD_RATE, m_cbBaudRate);
  dx.Control(IDC_DATA_BITS, m_cbDataBits);
  dx.Control(IDC_STOP_BITS, m_cbStopBits);
  dx.Control(IDC_PARITY, m_cbParity);
  dx.Control(IDC_COMMAND, m_cbCommand);
  dx.Control(IDC_DOWNLOAD_LIST, m_lcDownloadFiles);
  dx.Control(IDC_RUN_HISTORY, m_lcRunHistory);
  dx.Check(IDC_DEBUG_PRINT, m_bDebugPrint);
  dx.Check(IDC_DEBUG_CAPTURE, m_bDebugCapture);
  dx.Check(IDC_SCS, m_bScs);
  dx.Check(IDC_JEI, m_bJei);
  dx.Check(IDC_CW, m_bCw);
  dx.Text(IDC_OUTPUT_PATH, m_strOutputPath);
}

BOOL CQuintorDlg::OnInitDialog() {
  TableDialog::OnInitDialog();

  const wchar_t* text = nullptr;
  // A zero buffer size gives a read-only pointer into the resource, not terminated.
  const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&text), 0);
  const HMENU systemMenu = GetSystemMenu(GetSafeHwnd(), FALSE);
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, std::wstring(text, static_cast<size_t>(length)).c_str());

  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(m_hSmallIcon ? m_hSmallIcon : m_hIcon));

  LoadSettings();

  for (const SerialList& s : SerialLists()) SetupOptionCombo(this->*s.list, s.catalogue, s.count, settings_.*s.stored);
  SetupOptionCombo(m_cbCommand, CommandOptions, GetCommandCount(), kCmdFileDownload);

  m_lcDownloadFiles.InsertColumn(0, "", 18);
  m_lcDownloadFiles.InsertColumn(1, "File Path", 0);
  m_lcDownloadFiles.InsertColumn(2, "File Name", 340);
  m_lcDownloadFiles.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  m_lcRunHistory.InsertColumn(0, "", 0);
  m_lcRunHistory.InsertColumn(1, "String", 290);
  m_lcRunHistory.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  // Files dropped on the download list reach this window's handler.
  AllowDroppedFiles(m_lcDownloadFiles.GetSafeHwnd(), true);
  AllowDroppedFiles(GetSafeHwnd(), false);
  RouteDroppedFiles(IDC_DOWNLOAD_LIST);
  OnDebugCapture();
  OnSelchangeCommand();
  return TRUE;
}

void CQuintorDlg::DestroyWindow() {
  SaveSettings();
  TableDialog::DestroyWindow();
}

void CQuintorDlg::LoadSettings() {
  ExchangeMainSettings(services_.settings, services_.run.fs, settings_, SettingsMode::kLoad);
  UpdateData(false);
}

void CQuintorDlg::SaveSettings() {
  const ToolCommandInputs in = CollectToolInputs();
  // A list without a selection (its stored value is in no catalogue row)
  // keeps the value it was given at start-up, so the store stays readable.
  MainSettings saved = settings_;
  for (const SerialList& s : SerialLists()) saved.*s.stored = (in.*s.input).value_or(settings_.*s.stored);
  ExchangeMainSettings(services_.settings, services_.run.fs, saved, SettingsMode::kSave);
}

ToolCommandInputs CQuintorDlg::CollectToolInputs() {
  UpdateData(true);
  ToolCommandInputs in;
  in.toolPath = m_strToolPath;
  for (const SerialList& s : SerialLists()) in.*s.input = SelectedOptionValue(this->*s.list, s.catalogue, s.count);
  in.command = SelectedOptionValue(m_cbCommand, CommandOptions, GetCommandCount());
  in.rows = DownloadRows();
  in.scs = m_bScs;
  in.jei = m_bJei;
  in.cw = m_bCw;
  in.outputPath = m_strOutputPath;
  in.debugPrint = m_bDebugPrint;
  return in;
}

void CQuintorDlg::OnToolOpen() { ChooseFileInto(services_.fileDialogs, *this, IDC_TOOL_PATH, kToolFilter); }

// The BBCB Setting window shares nothing with this one but the stored
// settings; nothing here changes afterwards.
void CQuintorDlg::OnBbcbSetting() {
  CBbcbSettingDlg dlg(services_);
  dlg.DoModal(GetSafeHwnd());
}

// The DVT Test window gets the tool path and the five list positions (-1 for
// a list without a selection). It stores its folder choice at once, so the
// stored value is read back afterwards: the latest choice, made here or
// there, is the one this window keeps and writes at exit.
void CQuintorDlg::OnDvtTest() {
  CDvtTestDlg dlg(services_, ItemText(IDC_TOOL_PATH), m_cbPort.GetCurSel(), m_cbBaudRate.GetCurSel(),
                  m_cbDataBits.GetCurSel(), m_cbStopBits.GetCurSel(), m_cbParity.GetCurSel());
  dlg.DoModal(GetSafeHwnd());
  LoadDvtFolder(services_.settings, &m_strDvtPath);
}

// Replaces the list with the DVT images found in a chosen folder. The choice
// is stored at once, like a choice made in the DVT Test window.
void CQuintorDlg::OnDvtTestFileInsert() {
  const std::optional<std::string> folder = services_.folderPicker.ChooseFolder(
      GetSafeHwnd(), "Select the Dvt Test folder for browse dialog", m_strDvtPath);
  if (!folder) return;
  m_strDvtPath = *folder;
  StoreDvtFolder(services_.settings, m_strDvtPath);
  m_lcDownloadFiles.DeleteAllItems();
  for (const DownloadRow& row : FindDvtFileRows(services_.run.fs, m_strDvtPath)) AppendFileRow(row.folder, row.fileName);
}

void CQuintorDlg::OnSelchangeCommand() {
  const std::optional<int32_t> code = SelectedOptionValue(m_cbCommand, CommandOptions, GetCommandCount());
  const bool enable = code && IsLockCommand(*code);
  for (int id : kLockOptionIds) EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}

void CQuintorDlg::OnRclickDownloadList() {
  POINT cursor = {};
  GetCursorPos(&cursor);
  ShowPopupMenu(cursor);
}

// The keys of the download list, each with exactly its modifiers (Ctrl+Alt
// is AltGr on many layouts, a character); Space's check toggle is the list's own.
bool CQuintorDlg::OnKeydownDownloadList(WPARAM, LPARAM lParam, LRESULT*) {
  const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0, alt = GetKeyState(VK_MENU) < 0;
  const bool plain = !ctrl && !shift && !alt;
  if (key == VK_DELETE && plain) OnDelete();
  if (key == VK_INSERT && plain) OnInsert();
  if (key == 'A' && ctrl && !shift && !alt) m_lcDownloadFiles.SelectAll();
  return false;
}

// The context-menu key and Shift+F10 (no mouse position: both coordinates
// -1, whatever the width of lParam) open the popup menu at the focused row; a
// right click opens it through NM_RCLICK.
bool CQuintorDlg::OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT*) {
  // The coordinates as GET_X_LPARAM and GET_Y_LPARAM read them.
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  if (reinterpret_cast<HWND>(wParam) != m_lcDownloadFiles.GetSafeHwnd() || x != -1 || y != -1) return false;
  ShowPopupMenu(m_lcDownloadFiles.FocusedRowMenuPoint());
  return true;
}

void CQuintorDlg::ShowPopupMenu(POINT at) {
  const MenuOwner menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUP_MENU)));
  const HMENU popup = GetSubMenu(menu.Get(), 0);
  const UINT deleteState = m_lcDownloadFiles.GetSelectedCount() > 0 ? MF_ENABLED : (MF_DISABLED | MF_GRAYED);
  EnableMenuItem(popup, ID_POPUP_DELETE, MF_BYCOMMAND | deleteState);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, GetSafeHwnd(), nullptr);
}

// Dropped files are inserted as chosen ones; folders and what is no file are
// left out.
bool CQuintorDlg::OnDropFiles(WPARAM wParam, LPARAM, LRESULT*) {
  std::vector<std::string> files;
  for (const std::string& path : TakeDroppedFiles(reinterpret_cast<HDROP>(wParam))) {
    if (GetFileSizeOrZero(services_.run.fs, path) > 0) files.push_back(path);
  }
  InsertFiles(files);
  return true;
}

void CQuintorDlg::AppendFileRow(const std::string& folder, const std::string& fileName) {
  m_lcDownloadFiles.AppendRow({folder, fileName}, kUncheckedBox);
}

void CQuintorDlg::OnInsert() {
  InsertFiles(services_.fileDialogs.Choose({FileDialogRequest::kOpen, GetSafeHwnd(), kDownloadFilter, "", true}));
}

std::vector<DownloadRow> CQuintorDlg::DownloadRows() const {
  std::vector<DownloadRow> rows;
  for (int row = 0; row < m_lcDownloadFiles.GetItemCount(); ++row) {
    rows.push_back({m_lcDownloadFiles.GetCheck(row), m_lcDownloadFiles.GetItemText(row, 1),
                    m_lcDownloadFiles.GetItemText(row, 2)});
  }
  return rows;
}

void CQuintorDlg::InsertFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  // Duplicates are looked for among the rows that were there before.
  std::unordered_set<std::wstring> existingPaths;
  for (const DownloadRow& row : DownloadRows()) existingPaths.insert(PathKey(row.folder + "\\" + row.fileName));
  std::vector<std::vector<std::string>> rows;
  for (const std::string& path : paths) {
    if (existingPaths.count(PathKey(path)) == 0) rows.push_back({GetPathFolder(path), GetPathFileName(path)});
  }
  m_lcDownloadFiles.AppendRowsMarked(rows, kUncheckedBox);
}

void CQuintorDlg::OnDelete() {
  int row;
  while ((row = m_lcDownloadFiles.GetNextSelected(-1)) >= 0 && m_lcDownloadFiles.DeleteItem(row)) {
  }
}

void CQuintorDlg::OnStart() {
  const LocalTime start = services_.clock.Now();
  const ToolCommandInputs inputs = CollectToolInputs();
  if (!RunToolScript(services_.run, inputs, start, m_bDebugCapture)) return;
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : ComposeRunHistoryLines(inputs, start)) rows.push_back({line});
  m_lcRunHistory.AppendRowsMarked(rows);
}

void CQuintorDlg::OnViewLog() { ViewCaptureLog(services_.run); }

void CQuintorDlg::OnDebugCapture() {
  UpdateData(true);
  EnableWindow(GetDlgItem(IDC_VIEW_LOG), m_bDebugCapture ? TRUE : FALSE);
}

void CQuintorDlg::OnOutputFileSave() {
  // The tool creates the output file: a name that does not exist yet is a
  // valid choice, and an existing one is overwritten without a question.
  const std::vector<std::string> chosen =
      services_.fileDialogs.Choose({FileDialogRequest::kSave, GetSafeHwnd(), kOutputFilter, ItemText(IDC_OUTPUT_PATH)});
  if (chosen.empty()) return;
  const std::string& path = chosen.front();
  SetItemText(IDC_OUTPUT_PATH, GetPathExtension(path).empty() ? path + ".txt" : path);
}

void CQuintorDlg::OnOutputFileView() {
  UpdateData(true);
  ViewTextFile(services_.run, m_strOutputPath);
}

bool CQuintorDlg::OnSysCommand(WPARAM wParam, LPARAM, LRESULT*) {
  if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about;
  about.DoModal(GetSafeHwnd());
  return true;
}

bool CQuintorDlg::OnPaint(WPARAM, LPARAM, LRESULT*) {
  if (!IsIconic(GetSafeHwnd())) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(GetSafeHwnd(), &paint);
  SendMessageW(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(GetSafeHwnd(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(GetSafeHwnd(), &paint);
  return true;
}

bool CQuintorDlg::OnQueryDragIcon(WPARAM, LPARAM, LRESULT* result) {
  *result = reinterpret_cast<LRESULT>(m_hIcon);
  return true;
}
