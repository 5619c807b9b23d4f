#include "bbcb/bbcbsettingdlg.h"

#include "bbcb/bbcbjob.h"
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
  static const HandlerTable<CBbcbSettingDlg> rows = {
      OnCommand(IDC_BBCB_TOOL_OPEN, BN_CLICKED, &CBbcbSettingDlg::OnBbcbToolOpen),
      OnCommand(IDC_BBCB_CONFIG_OPEN, BN_CLICKED, &CBbcbSettingDlg::OnConfigOpen),
      OnCommand(IDC_BBCB_START, BN_CLICKED, &CBbcbSettingDlg::OnBbcbStart),
      OnCommand(IDC_BBCB_OUTPUT_SAVE, BN_CLICKED, &CBbcbSettingDlg::OnOutputSave),
      OnCommand(IDC_BBCB_SN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_RN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC1, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC2, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC3, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC4, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC5, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
      OnCommand(IDC_BBCB_MAC6, EN_CHANGE, &CBbcbSettingDlg::FilterHexField),
  };
  return rows;
}

void CBbcbSettingDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(IDC_BBCB_MAC1, m_strMac1, kMacChars);
  dx.Text(IDC_BBCB_MAC2, m_strMac2, kMacChars);
  dx.Text(IDC_BBCB_MAC3, m_strMac3, kMacChars);
  dx.Text(IDC_BBCB_MAC4, m_strMac4, kMacChars);
  dx.Text(IDC_BBCB_MAC5, m_strMac5, kMacChars);
  dx.Text(IDC_BBCB_MAC6, m_strMac6, kMacChars);
  dx.Text(IDC_BBCB_MANUFACTURER_SN, m_strManufacturerSn, kManufacturerSnChars);
  dx.Text(IDC_BBCB_RN, m_strRn, kSerialChars);
  dx.Text(IDC_BBCB_SN, m_strSerialNumber, kSerialChars);
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

void CBbcbSettingDlg::LoadBbcbSettings() {
  ExchangeBbcbSettings(services_.settings, services_.run.fs, fields_, SettingsMode::kLoad);
  UpdateData(false);
}

// Every way of closing comes here, so the fields are stored as they stand.
void CBbcbSettingDlg::SaveBbcbSettings() {
  TakeUnchecked();
  ExchangeBbcbSettings(services_.settings, services_.run.fs, fields_, SettingsMode::kSave);
}

void CBbcbSettingDlg::FilterHexField(int id) {
  const HWND edit = GetDlgItem(id);
  // The caret (the selection's end) as the edit control counts, in UTF-16 units.
  const WORD caret = HIWORD(Send(edit, EM_GETSEL));
  const std::string text = ItemText(id);
  const std::string filtered = FilterHexText(text);
  if (filtered == text) return;
  SetItemText(id, filtered);
  // Hex digits are one unit each: the caret stays after the digits it
  // followed, where the next typed character belongs.
  const WPARAM position = FilterHexText(Narrow(Widen(text).substr(0, caret))).size();
  Send(edit, EM_SETSEL, position, static_cast<LPARAM>(position));
}

void CBbcbSettingDlg::OnBbcbToolOpen() {
  ChooseFileInto(services_.fileDialogs, *this, IDC_BBCB_TOOL_PATH, kToolFilter);
}

void CBbcbSettingDlg::OnConfigOpen() {
  ChooseFileInto(services_.fileDialogs, *this, IDC_BBCB_CONFIG_PATH, kConfigFilter);
}

void CBbcbSettingDlg::OnOutputSave() {
  const std::optional<std::string> folder =
      services_.folderPicker.ChooseFolder(GetSafeHwnd(), kOutputTitle, ItemText(IDC_BBCB_OUTPUT_FOLDER));
  if (folder) SetItemText(IDC_BBCB_OUTPUT_FOLDER, *folder);
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
  // Nothing is shown afterwards: the operator reads the tool's console and
  // the release folder.
  StartBbcbRun(services_.run, services_.clock, in);
  m_timeStart = in.start;
}
