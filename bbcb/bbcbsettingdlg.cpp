#include "bbcb/bbcbsettingdlg.h"

#include <vector>

#include "bbcb/bbcbrun.h"
#include "platform/wide.h"
#include "resources/resource.h"

namespace {

const char kToolFilter[] = "All File(*.exe)|*.exe||";
const char kConfigFilter[] = "All File(*.cfg)|*.cfg||";
const char kOutputTitle[] = "Select the release folder for browse dialog";

const int kMacChars = 2;
const int kManufacturerSnChars = 31;
const int kSerialChars = 8;

}  // namespace

CBbcbSettingDlg::CBbcbSettingDlg(UiServices& services) : TableDialog(IDD_BBCB_SETTING), services_(services) {}

const HandlerTable<CBbcbSettingDlg>& CBbcbSettingDlg::Handlers() {
  static const HandlerRow<CBbcbSettingDlg> rows[] = {
      OnCommand(IDC_BBCB_TOOL_OPEN, BN_CLICKED, &CBbcbSettingDlg::OnBbcbToolOpen),
      OnCommand(IDC_BBCB_CONFIG_OPEN, BN_CLICKED, &CBbcbSettingDlg::OnConfigOpen),
      OnCommand(IDC_BBCB_START, BN_CLICKED, &CBbcbSettingDlg::OnBbcbStart),
      OnCommand(IDC_BBCB_OUTPUT_SAVE, BN_CLICKED, &CBbcbSettingDlg::OnOutputSave),
      OnCommandId(IDC_BBCB_SN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_RN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MANUFACTURER_SN, EN_CHANGE, &CBbcbSettingDlg::OnManufacturerSnChange),
      OnCommandId(IDC_BBCB_MAC1, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_MAC2, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_MAC3, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_MAC4, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_MAC5, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommandId(IDC_BBCB_MAC6, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
  };
  static const HandlerTable<CBbcbSettingDlg> table = MakeHandlerTable(rows);
  return table;
}

void CBbcbSettingDlg::DoDataExchange(DataExchange& dx) {
  // Limits go onto the controls whenever the state is shown; taking checks
  // them only when asked to.
  const auto limited = [&](int id, std::string& value, int maxChars) {
    dx.Text(id, value);
    if (!dx.Taking() || checkLimits_) dx.MaxChars(id, value, maxChars);
  };
  limited(IDC_BBCB_MAC1, m_strMac1, kMacChars);
  limited(IDC_BBCB_MAC2, m_strMac2, kMacChars);
  limited(IDC_BBCB_MAC3, m_strMac3, kMacChars);
  limited(IDC_BBCB_MAC4, m_strMac4, kMacChars);
  limited(IDC_BBCB_MAC5, m_strMac5, kMacChars);
  limited(IDC_BBCB_MAC6, m_strMac6, kMacChars);
  limited(IDC_BBCB_MANUFACTURER_SN, m_strManufacturerSn, kManufacturerSnChars);
  limited(IDC_BBCB_RN, m_strRn, kSerialChars);
  limited(IDC_BBCB_SN, m_strSerialNumber, kSerialChars);
  dx.Text(IDC_BBCB_TOOL_PATH, m_strBbcbToolPath);
  dx.Text(IDC_BBCB_CONFIG_PATH, m_strConfigPath);
  dx.Text(IDC_BBCB_OUTPUT_FOLDER, m_strOutputFolder);
}

BOOL CBbcbSettingDlg::OnInitDialog() {
  TableDialog::OnInitDialog();
  LoadBbcbSettings();
  return TRUE;
}

void CBbcbSettingDlg::DestroyWindow() {
  SaveBbcbSettings();
  TableDialog::DestroyWindow();
}

void CBbcbSettingDlg::OnOK() { EndDialog(IDOK); }

void CBbcbSettingDlg::RefreshTexts() {
  checkLimits_ = false;
  UpdateData(true);
  checkLimits_ = true;
}

BbcbFields CBbcbSettingDlg::Fields() const {
  BbcbFields fields;
  fields.toolPath = m_strBbcbToolPath;
  fields.configPath = m_strConfigPath;
  fields.serialNumber = m_strSerialNumber;
  fields.rn = m_strRn;
  fields.manufacturerSn = m_strManufacturerSn;
  fields.mac = {m_strMac1, m_strMac2, m_strMac3, m_strMac4, m_strMac5, m_strMac6};
  fields.outputFolder = m_strOutputFolder;
  return fields;
}

void CBbcbSettingDlg::SetFields(const BbcbFields& fields) {
  m_strBbcbToolPath = fields.toolPath;
  m_strConfigPath = fields.configPath;
  m_strSerialNumber = fields.serialNumber;
  m_strRn = fields.rn;
  m_strManufacturerSn = fields.manufacturerSn;
  m_strMac1 = fields.mac[0];
  m_strMac2 = fields.mac[1];
  m_strMac3 = fields.mac[2];
  m_strMac4 = fields.mac[3];
  m_strMac5 = fields.mac[4];
  m_strMac6 = fields.mac[5];
  m_strOutputFolder = fields.outputFolder;
}

void CBbcbSettingDlg::LoadBbcbSettings() {
  BbcbFields fields = Fields();
  ::LoadBbcbSettings(services_.settings, services_.fs, fields);
  SetFields(fields);
  UpdateData(false);
}

// Every way of closing comes here, so the fields are stored as they stand.
void CBbcbSettingDlg::SaveBbcbSettings() {
  RefreshTexts();
  ::SaveBbcbSettings(services_.settings, services_.fs, Fields());
}

std::string* CBbcbSettingDlg::HexMember(int id) {
  switch (id) {
    case IDC_BBCB_SN: return &m_strSerialNumber;
    case IDC_BBCB_RN: return &m_strRn;
    case IDC_BBCB_MAC1: return &m_strMac1;
    case IDC_BBCB_MAC2: return &m_strMac2;
    case IDC_BBCB_MAC3: return &m_strMac3;
    case IDC_BBCB_MAC4: return &m_strMac4;
    case IDC_BBCB_MAC5: return &m_strMac5;
    case IDC_BBCB_MAC6: return &m_strMac6;
    default: return nullptr;
  }
}

void CBbcbSettingDlg::FilterHexField(int id) {
  std::string* member = HexMember(id);
  HWND edit = GetDlgItem(id);
  if (!member || !edit) return;
  // The caret as the edit control counts, in UTF-16 units.
  DWORD caret = 0;
  SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  RefreshTexts();
  const std::string filtered = FilterHexText(*member);
  if (filtered == *member) return;
  const std::wstring wide = Widen(*member);
  const std::string beforeCaret = Narrow(wide.substr(0, caret));
  *member = filtered;
  UpdateData(false);
  // Hex digits are one unit each: the caret stays after the digits it
  // followed, where the next typed character belongs.
  const WPARAM position = FilterHexText(beforeCaret).size();
  SendMessageW(edit, EM_SETSEL, position, static_cast<LPARAM>(position));
}

void CBbcbSettingDlg::OnManufacturerSnChange() {}

void CBbcbSettingDlg::ChooseFile(const char* filter, std::string CBbcbSettingDlg::*member) {
  const std::vector<std::string> chosen =
      services_.fileDialogs.Choose(FileDialogRequest::Open(GetSafeHwnd(), filter, this->*member));
  if (chosen.empty()) return;
  RefreshTexts();
  this->*member = chosen.front();
  UpdateData(false);
}

void CBbcbSettingDlg::OnBbcbToolOpen() { ChooseFile(kToolFilter, &CBbcbSettingDlg::m_strBbcbToolPath); }

void CBbcbSettingDlg::OnConfigOpen() { ChooseFile(kConfigFilter, &CBbcbSettingDlg::m_strConfigPath); }

void CBbcbSettingDlg::OnOutputSave() {
  FolderPickRequest request;
  request.owner = GetSafeHwnd();
  request.title = kOutputTitle;
  request.initialFolder = m_strOutputFolder;
  request.flags = kFolderBrowseFlags;
  std::string folder;
  if (services_.folderPicker.PickFolder(request, &folder) != IDOK) return;
  RefreshTexts();
  m_strOutputFolder = folder;
  UpdateData(false);
}

void CBbcbSettingDlg::OnBbcbStart() {
  // A text longer than its field allows (a stored one) has been refused with
  // the standard message: no run with it.
  if (!UpdateData(true)) return;
  BbcbInputs in;
  in.toolPath = m_strBbcbToolPath;
  in.configPath = m_strConfigPath;
  in.outputFolder = m_strOutputFolder;
  in.serialNumber = m_strSerialNumber;
  in.rn = m_strRn;
  in.manufacturerSn = m_strManufacturerSn;
  BbcbServices run{services_.fs, services_.launcher, services_.env};
  // Nothing is shown afterwards: the operator reads the tool's console and
  // the release folder.
  StartBbcbRun(run, services_.clock, in);
  m_timeStart = in.start;
}
