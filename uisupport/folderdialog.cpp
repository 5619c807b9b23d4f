#include "uisupport/folderdialog.h"

#include <exception>

#include "platform/dialog.h"
#include "platform/lazydll.h"
#include "platform/owner.h"

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

void CFolderDialog::SetInitialFolder(const std::string& folder) {
  const std::wstring wide = Widen(folder);
  if (wide.size() >= MAX_PATH) {
    m_szInitialFolder[0] = L'\0';
    return;
  }
  lstrcpynW(m_szInitialFolder, wide.c_str(), MAX_PATH);
}

INT_PTR CFolderDialog::DoModal() {
  OleScope ole;
  const TaskMemory<PIDLIST_ABSOLUTE> chosen(lazy::SHBrowseForFolderW(&m_browseInfo));
  if (!chosen.Valid()) return IDCANCEL;
  return lazy::SHGetPathFromIDListW(chosen.Get(), m_szSelectedFolder) ? IDOK : -1;
}

void CFolderDialog::SetBrowseSelection(const wchar_t* path) {
  if (m_hBrowseWnd) Send(m_hBrowseWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path));
}

void CFolderDialog::SetBrowseStatusText(const wchar_t* text) {
  if (m_hBrowseWnd) Send(m_hBrowseWnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

int CALLBACK CFolderDialog::FolderBrowseHook(HWND browser, UINT code, LPARAM value, LPARAM object) {
  CFolderDialog* self = reinterpret_cast<CFolderDialog*>(object);
  self->m_hBrowseWnd = browser;
  int result = FALSE;
  // The hook is called from the shell's code: nothing may unwind into it.
  try {
    if (code == BFFM_INITIALIZED) self->OnBrowseInit();
    if (code == BFFM_SELCHANGED) self->OnBrowseSelectionChange(reinterpret_cast<PCIDLIST_ABSOLUTE>(value));
    // The W browser reports a refused name with the W code only.
    if (code == BFFM_VALIDATEFAILEDW) result = self->OnBrowseNameRejected(Narrow(reinterpret_cast<PCWSTR>(value)));
    if (code == BFFM_IUNKNOWN) self->OnBrowseInterface(reinterpret_cast<IUnknown*>(value));
  } catch (const std::exception& e) {
    ReportFailure(browser, e.what());
  } catch (...) {
    ReportFailure(browser, "unknown exception");
  }
  self->m_hBrowseWnd = nullptr;
  return result;
}

// An empty text selects nothing.
void CFolderDialog::OnBrowseInit() { SetBrowseSelection(m_szInitialFolder); }

void CFolderDialog::OnBrowseSelectionChange(PCIDLIST_ABSOLUTE item) {
  wchar_t path[MAX_PATH] = {};
  if ((m_browseInfo.ulFlags & BIF_STATUSTEXT) && item && lazy::SHGetPathFromIDListW(item, path)) {
    SetBrowseStatusText(path);
  }
}

int CFolderDialog::OnBrowseNameRejected(const std::string&) {
  MessageBeep(MB_ICONHAND);
  return TRUE;  // the browser stays open
}

std::optional<std::string> ShellFolderPicker::ChooseFolder(HWND owner, const std::string& title,
                                                           const std::string& initialFolder) {
  CFolderDialog dialog(title, initialFolder.c_str(), owner, kFolderBrowseFlags);
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetSelectedFolder();
}
