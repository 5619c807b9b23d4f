// The shell's folder browser with a preselected folder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/wide.h"
#include "uisupport/uiservices.h"

// Only file-system folders, an edit box for a typed name, the resizable
// browser.
constexpr UINT kFolderBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;  // 0x51

class CFolderDialog {
 public:
  // `initialFolder` may be null; so may `owner`, for a browser of no window.
  CFolderDialog(const std::string& title, const char* initialFolder, HWND owner, UINT flags);
  virtual ~CFolderDialog() = default;
  CFolderDialog(const CFolderDialog&) = delete;
  CFolderDialog& operator=(const CFolderDialog&) = delete;

  // The folder to preselect; a text too long for MAX_PATH is dropped (a cut
  // one would name another folder), so the browser opens without one.
  void SetInitialFolder(const std::string& folder);

  // IDOK (1): a folder was chosen, see GetSelectedFolder. IDCANCEL (2): the
  // browser was cancelled or closed. -1: the chosen item has no file-system
  // path.
  virtual INT_PTR DoModal();
  std::string GetSelectedFolder() const { return Narrow(m_szSelectedFolder); }

  // Only while a notification is being handled.
  void SetBrowseSelection(const wchar_t* path);
  void SetBrowseStatusText(const wchar_t* text);

  // The browser's notification hook; `object` is the CFolderDialog.
  static int CALLBACK FolderBrowseHook(HWND browser, UINT code, LPARAM value, LPARAM object);

 protected:
  virtual void OnBrowseInit();
  virtual void OnBrowseSelectionChange(PCIDLIST_ABSOLUTE item);
  // A typed name was refused; nonzero keeps the browser open.
  virtual int OnBrowseNameRejected(const std::string& name);
  virtual void OnBrowseInterface(IUnknown*) {}

 private:
  std::wstring m_title;
  BROWSEINFOW m_browseInfo = {};
  wchar_t m_szInitialFolder[MAX_PATH] = {};
  wchar_t m_szSelectedFolder[MAX_PATH] = {};
  wchar_t m_displayName[MAX_PATH] = {};
  HWND m_hBrowseWnd = nullptr;
};

class ShellFolderPicker : public FolderPicker {
 public:
  std::optional<std::string> ChooseFolder(HWND owner, const std::string& title,
                                          const std::string& initialFolder) override;
};
