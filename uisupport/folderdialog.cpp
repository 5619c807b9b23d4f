#include "uisupport/folderdialog.h"

#include <cstring>
#include <exception>

#include "platform/lazydll.h"
#include "platform/owner.h"
#include "platform/dialog.h"
#include "platform/wide.h"

namespace {

std::string FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return std::string();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length) - 1);
  return Narrow(wide);
}

}  // namespace

CFolderDialog::CFolderDialog(const std::string& title, const char* initialFolder, HWND owner, UINT flags)
    : m_title(Widen(title)) {
  m_browseInfo.hwndOwner = owner;
  m_browseInfo.pszDisplayName = m_displayName;
  m_browseInfo.lpszTitle = m_title.c_str();
  m_browseInfo.ulFlags = flags;
  m_browseInfo.lpfn = &CFolderDialog::FolderBrowseHook;
  m_browseInfo.lParam = reinterpret_cast<LPARAM>(this);
  if (initialFolder) SetInitialFolder(initialFolder);
}

CFolderDialog::~CFolderDialog() {
  if (m_browseInfo.pidlRoot) lazy::CoTaskMemFree(const_cast<LPITEMIDLIST>(m_browseInfo.pidlRoot));
}

void CFolderDialog::SetInitialFolder(const std::string& folder) {
  const std::wstring wide = Widen(folder);
  if (wide.size() >= MAX_PATH) {
    m_szInitialFolder[0] = L'\0';
    return;
  }
  std::memcpy(m_szInitialFolder, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

std::string CFolderDialog::GetInitialFolder() const { return Narrow(m_szInitialFolder); }

std::string CFolderDialog::GetSelectedFolder() const { return Narrow(m_szSelectedFolder); }

INT_PTR CFolderDialog::DoModal() {
  OleScope ole;
  const HWND savedOwner = m_browseInfo.hwndOwner;
  if (!m_browseInfo.hwndOwner) m_browseInfo.hwndOwner = GetActiveWindow();
  m_szSelectedFolder[0] = L'\0';
  INT_PTR result = IDCANCEL;
  PIDLIST_ABSOLUTE chosen = lazy::SHBrowseForFolderW(&m_browseInfo);
  if (chosen) {
    result = lazy::SHGetPathFromIDListW(chosen, m_szSelectedFolder) ? IDOK : -1;
    if (result != IDOK) m_szSelectedFolder[0] = L'\0';
    lazy::CoTaskMemFree(chosen);
  }
  m_browseInfo.hwndOwner = savedOwner;
  return result;
}

void CFolderDialog::SetBrowseSelection(const wchar_t* path) {
  if (m_hBrowseWnd) SendMessageW(m_hBrowseWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path));
}

void CFolderDialog::SetBrowseStatusText(const wchar_t* text) {
  if (m_hBrowseWnd) SendMessageW(m_hBrowseWnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

int CALLBACK CFolderDialog::FolderBrowseHook(HWND browser, UINT code, LPARAM value, LPARAM object) {
  CFolderDialog* self = reinterpret_cast<CFolderDialog*>(object);
  if (!self) return 0;
  self->m_hBrowseWnd = browser;
  int result = 0;
  // The hook is called from the shell's code: nothing may unwind into it.
  try {
    result = self->HandleNotification(code, value);
  } catch (const std::exception& e) {
    ReportFailure(browser, e.what());
  } catch (...) {
    ReportFailure(browser, "unknown exception");
  }
  self->m_hBrowseWnd = nullptr;
  return result;
}

int CFolderDialog::HandleNotification(UINT code, LPARAM value) {
  switch (code) {
    case BFFM_INITIALIZED:
      OnBrowseInit();
      return 0;
    case BFFM_SELCHANGED:
      OnBrowseSelectionChange(reinterpret_cast<PCIDLIST_ABSOLUTE>(value));
      return 0;
    case BFFM_VALIDATEFAILEDA:
      return OnBrowseNameRejected(FromAnsi(reinterpret_cast<const char*>(value)));
    // The W browser reports a refused name with this code.
    case BFFM_VALIDATEFAILEDW:
      return OnBrowseNameRejected(Narrow(reinterpret_cast<const wchar_t*>(value)));
    case BFFM_IUNKNOWN:
      OnBrowseInterface(reinterpret_cast<IUnknown*>(value));
      return 0;
    default:
      return 0;
  }
}

void CFolderDialog::OnBrowseInit() {
  if (m_szInitialFolder[0] != L'\0') SetBrowseSelection(m_szInitialFolder);
}

void CFolderDialog::OnBrowseSelectionChange(PCIDLIST_ABSOLUTE item) {
  if (!(m_browseInfo.ulFlags & BIF_STATUSTEXT)) return;
  wchar_t path[MAX_PATH] = {};
  if (item && lazy::SHGetPathFromIDListW(item, path)) SetBrowseStatusText(path);
}

int CFolderDialog::OnBrowseNameRejected(const std::string&) {
  MessageBeep(MB_ICONHAND);
  return 1;
}

void CFolderDialog::OnBrowseInterface(IUnknown*) {}

int ShellFolderPicker::PickFolder(const FolderPickRequest& request, std::string* folder) {
  CFolderDialog dialog(request.title, nullptr, request.owner, request.flags);
  dialog.SetInitialFolder(request.initialFolder);
  const INT_PTR result = dialog.DoModal();
  if (result == IDOK) *folder = dialog.GetSelectedFolder();
  return static_cast<int>(result);
}

std::optional<std::string> ChooseFolder(FolderPicker& picker, HWND owner, const std::string& title,
                                        const std::string& initialFolder) {
  FolderPickRequest request;
  request.owner = owner;
  request.title = title;
  request.initialFolder = initialFolder;
  std::string folder;
  if (picker.PickFolder(request, &folder) != IDOK) return std::nullopt;
  return folder;
}
