// The shell's folder browser with a preselected folder, and the folder
// picker the windows ask.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

// Flags every caller passes: only file-system folders, an edit box for a
// typed name, the resizable browser.
constexpr UINT kFolderBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;  // 0x51

class CFolderDialog {
 public:
  // `initialFolder` may be null. `owner` null: the active window owns it.
  CFolderDialog(const std::string& title, const char* initialFolder, HWND owner, UINT flags);
  virtual ~CFolderDialog();
  CFolderDialog(const CFolderDialog&) = delete;
  CFolderDialog& operator=(const CFolderDialog&) = delete;

  // The folder to preselect when the browser opens. A text that does not fit
  // the MAX_PATH buffer cannot name a folder the browser can select, and a
  // cut one would name another folder: it is dropped, so the browser opens
  // without preselection. The text is not checked otherwise.
  void SetInitialFolder(const std::string& folder);
  std::string GetInitialFolder() const;

  // IDOK (1): a folder was chosen, see GetSelectedFolder. IDCANCEL (2): the
  // browser was cancelled or closed. -1: the chosen item has no file-system
  // path.
  virtual INT_PTR DoModal();
  std::string GetSelectedFolder() const;

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
  virtual void OnBrowseInterface(IUnknown* unknown);

  HWND BrowseWindow() const { return m_hBrowseWnd; }

 private:
  int HandleNotification(UINT code, LPARAM value);

  std::wstring m_title;
  BROWSEINFOW m_browseInfo;
  wchar_t m_szInitialFolder[MAX_PATH];
  wchar_t m_szSelectedFolder[MAX_PATH];
  wchar_t* m_displayName;
  HWND m_hBrowseWnd;
};

// Folder choice behind a small interface, so windows can be driven in tests
// with a double that returns a chosen folder.
struct FolderPickRequest {
  HWND owner = nullptr;
  std::string title;
  std::string initialFolder;  // preselected; empty for none
  UINT flags = kFolderBrowseFlags;
};

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // Returns what CFolderDialog::DoModal returns; on IDOK `folder` holds the
  // chosen folder, otherwise it is left as it was.
  virtual int PickFolder(const FolderPickRequest& request, std::string* folder) = 0;
};

// The shell's folder browser through CFolderDialog.
class ShellFolderPicker : public FolderPicker {
 public:
  int PickFolder(const FolderPickRequest& request, std::string* folder) override;
};

// The folder the operator chose; nothing when the browser was cancelled or
// the choice has no file-system path.
std::optional<std::string> ChooseFolder(FolderPicker& picker, HWND owner, const std::string& title,
                                        const std::string& initialFolder);
