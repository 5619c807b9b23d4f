#include "platform/dialog.h"

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <utility>

#include "platform/lazydll.h"
#include "platform/runguard.h"
#include "platform/wide.h"

namespace {

std::string WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
  return Narrow(text);
}

bool IsOneOf(UINT message, std::initializer_list<UINT> messages) {
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

// Messages that would run a handler or close the window.
bool IsOperatorRequest(UINT message) {
  return IsOneOf(message, {WM_COMMAND, WM_NOTIFY, WM_SYSCOMMAND, WM_CLOSE, WM_CONTEXTMENU, WM_DROPFILES});
}

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  return IsOneOf(message, {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORDLG,
                           WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
                           WM_QUERYDRAGICON, WM_INITDIALOG});
}

// The procedure of a control whose dropped files go to its dialog; its own
// procedure is kept in its user data.
LRESULT CALLBACK DropsToDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) return SendMessageW(GetParent(hwnd), message, wParam, lParam);
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return CallWindowProcW(own, hwnd, message, wParam, lParam);
}

}  // namespace

void ReportFailure(HWND owner, const std::string& what) {
  const std::wstring text = L"Quintor: an operation failed: " + Widen(what);
  OutputDebugStringW((text + L"\n").c_str());
  MessageBoxW(owner, text.c_str(), L"Quintor", MB_OK | MB_ICONERROR);
}

HWND DataExchange::Bound(int id) {
  if (mode_ == Mode::kListIds) ids_.push_back(id);
  return mode_ == Mode::kListIds || failed_ ? nullptr : dialog_.GetDlgItem(id);
}

void DataExchange::Text(int id, std::string& value, int maxChars) {
  const HWND control = Bound(id);
  if (!control) return;
  if (mode_ == Mode::kShow) {
    SetWindowTextW(control, Widen(value).c_str());
    // No limit (0) sets the largest one; a static text ignores it.
    Send(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars));
    return;
  }
  value = WindowText(control);
  if (maxChars > 0 && mode_ == Mode::kTake && Widen(value).size() > static_cast<size_t>(maxChars)) {
    failed_ = true;
    const std::wstring message = L"Please enter no more than " + std::to_wstring(maxChars) + L" characters.";
    MessageBoxW(dialog_.GetSafeHwnd(), message.c_str(), L"Quintor", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(control);
    Send(control, EM_SETSEL, 0, -1);
  }
}

void DataExchange::Check(int id, bool& value) {
  const HWND control = Bound(id);
  if (!control) return;
  if (mode_ == Mode::kShow) {
    Send(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
  } else {
    value = Send(control, BM_GETCHECK) == BST_CHECKED;
  }
}

void DataExchange::Control(int id, ControlWindow& control) {
  if (const HWND hwnd = Bound(id)) control.Attach(hwnd);
}

Dialog::~Dialog() {
  // A modeless window still open here has lost its derived part already; it
  // is only taken down, without its last work.
  if (const HWND hwnd = std::exchange(hwnd_, nullptr)) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    ::DestroyWindow(hwnd);
  }
}

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND owner) {
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(this));
}

void Dialog::Destroy() {
  if (!hwnd_ || lastWorkDone_) return;
  lastWorkDone_ = true;
  DestroyWindow();
}

void Dialog::DestroyWindow() {
  if (hwnd_ && !inWmDestroy_) ::DestroyWindow(hwnd_);
}

bool Dialog::UpdateData(bool take) {
  DataExchange dx(*this, take ? DataExchange::Mode::kTake : DataExchange::Mode::kShow);
  const bool wasShowing = std::exchange(showingState_, showingState_ || !take);
  DoDataExchange(dx);
  showingState_ = wasShowing;
  return !dx.Failed();
}

void Dialog::TakeUnchecked() {
  DataExchange dx(*this, DataExchange::Mode::kTakeUnchecked);
  DoDataExchange(dx);
}

std::string Dialog::ItemText(int id) const { return WindowText(GetDlgItem(id)); }

void Dialog::SetItemText(int id, const std::string& text) {
  const bool wasShowing = std::exchange(showingState_, true);
  SetWindowTextW(GetDlgItem(id), Widen(text).c_str());
  showingState_ = wasShowing;
}

// A plain subclass: comctl32's SetWindowSubclass looks its chain up in a
// window property on every message, under Wine a round trip to its server
// that made each row added to a list cost a third of a millisecond.
void Dialog::RouteDroppedFiles(int id) {
  const HWND control = GetDlgItem(id);
  SetWindowLongPtrW(control, GWLP_USERDATA,
                    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropsToDialog)));
}

std::vector<int> Dialog::ExchangeControlIds() {
  DataExchange dx(*this, DataExchange::Mode::kListIds);
  DoDataExchange(dx);
  return dx.Ids();
}

void Dialog::EndDialog(INT_PTR result) {
  if (hwnd_ && modal_) {
    ::EndDialog(hwnd_, result);
  } else {
    Destroy();
  }
}

BOOL Dialog::OnInitDialog() {
  CenterWindow();
  UpdateData(false);
  return TRUE;
}

void Dialog::CenterWindow() {
  RECT window = {}, area = {};
  GetWindowRect(hwnd_, &window);
  const HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& screen = monitor.rcWork;
  if (owner) {
    GetWindowRect(owner, &area);
  } else {
    area = screen;
  }
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  // Keep the title bar on the screen.
  x = std::max(static_cast<int>(screen.left), std::min(x, static_cast<int>(screen.right) - width));
  y = std::max(static_cast<int>(screen.top), std::min(y, static_cast<int>(screen.bottom) - height));
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->hwnd_ = hwnd;
  }
  Dialog* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  // Nothing may unwind into the system's code: every exception ends here and
  // is reported.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    ReportFailure(self->hwnd_, e.what());
  } catch (...) {
    ReportFailure(self->hwnd_, "unknown exception");
  }
  return FALSE;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_DESTROY:
      inWmDestroy_ = true;
      Destroy();
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
      hwnd_ = nullptr;
      return FALSE;
    default:
      break;
  }
  // While a run's child process is waited for, the pointer over the window
  // says so.
  if (IsRunInProgress() && message == WM_SETCURSOR) {
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
  // No handler runs and the window does not close: the request is dropped
  // (and the file list of a drop released, as whoever takes a drop does).
  if (IsRunInProgress() && IsOperatorRequest(message)) {
    if (message == WM_DROPFILES) lazy::DragFinish(reinterpret_cast<HDROP>(wParam));
    return message == WM_NOTIFY ? FALSE : TRUE;
  }
  // Texts the window puts into its own edit fields are not the operator's
  // edits: their change notifications run no handler.
  if (showingState_ && message == WM_COMMAND && (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == EN_UPDATE)) {
    return TRUE;
  }
  LRESULT result = 0;
  if (Route(message, wParam, lParam, &result)) {
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    if (hwnd_) SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  // Enter and Esc arrive as clicks of IDOK and IDCANCEL.
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) OnOK();
  if (LOWORD(wParam) == IDCANCEL) OnCancel();
  return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
}
