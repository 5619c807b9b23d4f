// Test doubles of the dialog seams, a fixed clock, and a helper that acts on
// a modal window of this thread (a message box, the About box, a shell
// dialog) from inside its modal loop.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/timestamp.h"
#include "uisupport/filedialogs.h"
#include "tests/support/fakes.h"
#include "uisupport/folderdialog.h"
#include "uisupport/uiservices.h"

// Answers each file dialog with the next scripted choice (empty: cancelled)
// and records the requests.
class ScriptedFileDialogs : public FileDialogs {
 public:
  std::vector<std::string> Choose(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return {};
    std::vector<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::vector<std::string>> answers;
  std::vector<FileDialogRequest> requests;
};

// Answers each folder choice with the next scripted result and folder.
class ScriptedFolderPicker : public FolderPicker {
 public:
  struct Answer {
    int result;
    std::string folder;
  };
  int PickFolder(const FolderPickRequest& request, std::string* folder) override {
    requests.push_back(request);
    if (answers.empty()) return IDCANCEL;
    const Answer answer = answers.front();
    answers.pop_front();
    if (answer.result == IDOK) *folder = answer.folder;
    return answer.result;
  }
  std::deque<Answer> answers;
  std::vector<FolderPickRequest> requests;
};

class FixedClock : public Clock {
 public:
  LocalTime Now() const override { return now; }
  LocalTime now;
};

// Every service a window is given, as doubles.
struct UiDoubles {
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FixedClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};
};

// A folder under the temporary folder, created when missing.
inline std::wstring TestTempFolder(const std::wstring& leaf) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + leaf;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// Dispatches this thread's messages until `done` holds or `timeout` passes;
// returns whether `done` held.
inline bool PumpMessagesUntil(const std::function<bool()>& done,
                              std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  return true;
}

// While alive, looks for a visible top-level window of this thread with the
// dialog class that was not there when it started, every few milliseconds
// from within whatever message loop runs (a modal loop included), and hands
// each new one to `act` until `act` returns true (done with that window).
// Gives up after `timeout`.
class ModalWindowWatcher {
 public:
  explicit ModalWindowWatcher(std::function<bool(HWND)> act,
                              std::chrono::milliseconds timeout = std::chrono::seconds(60))
      : act_(std::move(act)), deadline_(std::chrono::steady_clock::now() + timeout) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&seen_));
    Current() = this;
    timer_ = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~ModalWindowWatcher() {
    KillTimer(nullptr, timer_);
    Current() = nullptr;
  }
  ModalWindowWatcher(const ModalWindowWatcher&) = delete;
  ModalWindowWatcher& operator=(const ModalWindowWatcher&) = delete;

  int handled() const { return handled_; }

  // Presses a button of `dialog` as a click would.
  static bool Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return true;
  }

  // The text of the selected item of the first tree view in `window`.
  static std::wstring SelectedTreeItem(HWND window) {
    HWND tree = FindWindowExW(window, nullptr, L"SysTreeView32", nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); !tree && child; child = GetWindow(child, GW_HWNDNEXT)) {
      tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
    }
    if (!tree) return std::wstring();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return std::wstring();
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
  }

  static std::wstring Text(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
  }

 private:
  static ModalWindowWatcher*& Current() {
    static ModalWindowWatcher* current = nullptr;
    return current;
  }
  static BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalWindowWatcher* self = Current();
    if (!self || self->busy_) return;
    if (std::chrono::steady_clock::now() > self->deadline_) {
      self->CancelNewWindows();
      return;
    }
    std::vector<HWND> now;
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&now));
    for (HWND hwnd : now) {
      wchar_t cls[32] = {};
      GetClassNameW(hwnd, cls, 32);
      if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) continue;
      bool known = false;
      for (HWND seen : self->seen_) known = known || seen == hwnd;
      if (known) continue;
      self->busy_ = true;
      const bool done = self->act_(hwnd);
      self->busy_ = false;
      if (!done) continue;
      self->seen_.push_back(hwnd);
      ++self->handled_;
    }
  }

  // Past the deadline every new window is cancelled, so a test whose window
  // never reached the expected state fails instead of waiting forever.
  void CancelNewWindows() {
    std::vector<HWND> now;
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&now));
    for (HWND hwnd : now) {
      wchar_t cls[32] = {};
      GetClassNameW(hwnd, cls, 32);
      if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) continue;
      bool known = false;
      for (HWND seen : seen_) known = known || seen == hwnd;
      if (known) continue;
      Press(hwnd, IDCANCEL);
      seen_.push_back(hwnd);
    }
  }

  std::function<bool(HWND)> act_;
  std::chrono::steady_clock::time_point deadline_;
  std::vector<HWND> seen_;
  UINT_PTR timer_ = 0;
  int handled_ = 0;
  bool busy_ = false;
};

// A window of class T created modeless and operated as the operator would:
// the part every window test fixture shares. A fixture closes the window in
// its TearDown, before the services the window uses go away.
template <class T>
class WindowDriver {
 public:
  WindowDriver() = default;
  ~WindowDriver() { Close(); }
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  std::unique_ptr<T> dialog;
  HWND hwnd = nullptr;

  // Esc, as the operator closes the window.
  void Close() {
    if (hwnd && IsWindow(hwnd)) Click(IDCANCEL);
    hwnd = nullptr;
    dialog.reset();
  }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  void Click(int id) {
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
  }

 protected:
  // Replaces an open window with `window`, created modeless; false when it
  // could not be created.
  bool Show(T* window) {
    Close();
    dialog.reset(window);
    hwnd = dialog->CreateModeless();
    return hwnd != nullptr;
  }
};
