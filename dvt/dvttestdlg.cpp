#include "dvt/dvttestdlg.h"

#include "core/mainsettings.h"
#include "resources/resource.h"

namespace {

const char kOpenTitle[] = "Select the release folder for browse dialog";

const COLORREF kTitleColour = RGB(39, 90, 244);
const COLORREF kWarningColour = RGB(250, 67, 14);

}  // namespace

CDvtTestDlg::CDvtTestDlg(UiServices& services, const std::string& toolPath, int32_t portIndex, int32_t baudIndex,
                         int32_t dataIndex, int32_t stopIndex, int32_t parityIndex)
    : TableDialog(IDD_DVT_TEST), services_(services) {
  m_strToolPath = toolPath;
  m_nPortIndex = portIndex;
  m_nBaudIndex = baudIndex;
  m_nDataIndex = dataIndex;
  m_nStopIndex = stopIndex;
  m_nParityIndex = parityIndex;
}

const HandlerTable<CDvtTestDlg>& CDvtTestDlg::Handlers() {
  static const HandlerTable<CDvtTestDlg> rows = {
      OnCommand(IDC_DVT_OPEN, BN_CLICKED, &CDvtTestDlg::OnOpen),
      OnCommand(IDC_DVT_TEST_RUN, BN_CLICKED, &CDvtTestDlg::OnTest),
      OnCommand(IDC_DVT_PROV, BN_CLICKED, &CDvtTestDlg::OnProv),
      OnCommand(IDC_DVT_NEXT, BN_CLICKED, &CDvtTestDlg::OnNext),
      OnMessage(WM_CTLCOLORSTATIC, &CDvtTestDlg::OnCtlColor),
  };
  return rows;
}

void CDvtTestDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(IDC_DVT_ADDITIONAL, m_strAdditional);
  dx.Text(IDC_DVT_DESCRIPTION, m_strDescription);
  dx.Text(IDC_DVT_TYPICAL_ERROR, m_strTypicalError);
  dx.Text(IDC_DVT_FILE, m_strFileName);
  dx.Text(IDC_DVT_INITIATION, m_strInitiation);
  dx.Text(IDC_DVT_OTA_RESULT, m_strOtaResult);
  dx.Text(IDC_DVT_FOLDER, m_strDvtPath);
  dx.Text(IDC_DVT_SERIAL_RESULT, m_strSerialResult);
  dx.Text(IDC_DVT_TITLE, m_strTitle);
}

BOOL CDvtTestDlg::OnInitDialog() {
  LoadDvtFolder(services_.settings, &m_strDvtPath);
  TableDialog::OnInitDialog();

  LOGFONTW description = {};
  lstrcpynW(description.lfFaceName, L"Arial", LF_FACESIZE);
  description.lfWeight = 800;
  m_fontTitle.Reset(CreateFontIndirectW(&description));
  SendMessageW(GetDlgItem(IDC_DVT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontTitle.Get()), TRUE);

  ShowCurrentCase();
  return TRUE;
}

void CDvtTestDlg::ShowCurrentCase() {
  if (const std::optional<DvtCaseView> view = ComposeCaseView(m_nCurrentCase)) m_case = *view;
  UpdateData(false);
}

void CDvtTestDlg::OnProv() {
  m_nCurrentCase = PreviousDvtCase(m_nCurrentCase);
  ShowCurrentCase();
}

void CDvtTestDlg::OnNext() {
  m_nCurrentCase = NextDvtCase(m_nCurrentCase);
  ShowCurrentCase();
}

void CDvtTestDlg::OnOpen() {
  const std::optional<std::string> folder = services_.folderPicker.ChooseFolder(GetSafeHwnd(), kOpenTitle, m_strDvtPath);
  if (!folder) return;
  m_strDvtPath = *folder;
  SetItemText(IDC_DVT_FOLDER, m_strDvtPath);
  // Stored at once, so the next opening of this window and the main window,
  // which reads the value again when this window has closed, start from it.
  StoreDvtFolder(services_.settings, m_strDvtPath);
}

void CDvtTestDlg::OnTest() {
  // Whether a run took place is not shown: the operator reads the tool's
  // console.
  RunDvtTest(services_.run, m_run, services_.clock.Now());
}

bool CDvtTestDlg::OnCtlColor(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  // The system's own colours and brush, as a dialog without this handler
  // gets them; only the text colour of three lines changes.
  *result = DefWindowProcW(GetSafeHwnd(), WM_CTLCOLORSTATIC, wParam, lParam);
  const HDC dc = reinterpret_cast<HDC>(wParam);
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id == IDC_DVT_TITLE) SetTextColor(dc, kTitleColour);
  if (id == IDC_DVT_FILE || id == IDC_DVT_TYPICAL_ERROR) SetTextColor(dc, kWarningColour);
  return true;
}
