// The dialog layer: a dialog window over a template, with a handler table
// (control id and notification to a member handler) and one data-exchange
// function that moves values between the controls and the members in either
// direction.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Dialog;

// SendMessageW, the arguments a message does not read left out.
inline LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(hwnd, message, wParam, lParam);
}

// Reports an exception that reached a window procedure: to the debugger
// output and in a message box over `owner`.
void ReportFailure(HWND owner, const std::string& what);

// A control that a window reaches through a member object (a drop-down list,
// a list view). Data exchange attaches it to its control.
class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND GetSafeHwnd() const { return hwnd_; }

 protected:
  HWND hwnd_ = nullptr;
};

// One run of a window's DoDataExchange. A checked take validates: a refused
// value shows the standard message, puts the focus on its control and ends
// the exchange, leaving the bindings after it as they were. Listing only
// collects the bound control ids.
class DataExchange {
 public:
  enum class Mode { kShow, kTake, kTakeUnchecked, kListIds };
  DataExchange(Dialog& dialog, Mode mode) : dialog_(dialog), mode_(mode) {}

  bool Failed() const { return failed_; }
  const std::vector<int>& Ids() const { return ids_; }

  // A `maxChars` limit (in UTF-16 units, as the edit control counts) is set
  // on the control when showing; a checked take refuses a longer text.
  void Text(int id, std::string& value, int maxChars = 0);
  void Check(int id, bool& value);
  // The wrapper is the state: it is only attached.
  void Control(int id, ControlWindow& control);

 private:
  HWND Bound(int id);

  Dialog& dialog_;
  Mode mode_;
  bool failed_ = false;
  std::vector<int> ids_;
};

// Handler tables. A row names the event and the member that handles it:
//   OnCommand(IDC_START, BN_CLICKED, &CQuintorDlg::OnStart)
//   OnCommand(IDC_BBCB_SN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField)  (given the id)
//   OnNotify(IDC_DOWNLOAD_LIST, NM_RCLICK, &CQuintorDlg::OnRclickDownloadList)
//   OnNotify(IDC_DOWNLOAD_LIST, LVN_KEYDOWN, &CQuintorDlg::OnKeydownDownloadList)
//   OnMessage(WM_SYSCOMMAND, &CQuintorDlg::OnSysCommand)
// A handler given the message's data returns true when it handled the message
// and sets the result; false passes the message on to the default handling.
enum class EventSource { kCommand, kNotify, kMessage };

// Menu items and accelerators arrive as commands with this code.
constexpr UINT kMenuCommand = 0;

template <class T>
struct HandlerRow {
  EventSource source;
  UINT key;   // control id, or the message for kMessage
  UINT code;  // notification code (commands and notifications)
  void (T::*onEvent)();
  void (T::*onEventWithId)(int controlId);
  bool (T::*onMessage)(WPARAM, LPARAM, LRESULT*);
};

template <class T>
using HandlerTable = std::vector<HandlerRow<T>>;

template <class T>
constexpr HandlerRow<T> OnCommand(int id, UINT code, void (T::*handler)()) {
  return {EventSource::kCommand, static_cast<UINT>(id), code, handler, nullptr, nullptr};
}
template <class T>
constexpr HandlerRow<T> OnCommand(int id, UINT code, void (T::*handler)(int)) {
  return {EventSource::kCommand, static_cast<UINT>(id), code, nullptr, handler, nullptr};
}
template <class T>
constexpr HandlerRow<T> OnNotify(int id, UINT code, void (T::*handler)()) {
  return {EventSource::kNotify, static_cast<UINT>(id), code, handler, nullptr, nullptr};
}
template <class T>
constexpr HandlerRow<T> OnNotify(int id, UINT code, bool (T::*handler)(WPARAM, LPARAM, LRESULT*)) {
  return {EventSource::kNotify, static_cast<UINT>(id), code, nullptr, nullptr, handler};
}
template <class T>
constexpr HandlerRow<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT*)) {
  return {EventSource::kMessage, message, 0, nullptr, nullptr, handler};
}

// A dialog window on a template of the program's resources. Run it with
// DoModal, or create it with CreateModeless (tests drive windows that way);
// an object serves one opening.
class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The result given to EndDialog, or -1 when the window could not be created.
  INT_PTR DoModal(HWND owner = nullptr);
  // Null on failure.
  HWND CreateModeless(HWND owner = nullptr);
  // Ends a modeless window: its DestroyWindow work runs, then the window goes.
  void Destroy();

  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetDlgItem(int id) const { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }
  // Takes the state from the controls (false when a value was refused), or,
  // `take` false, shows it, raising no edit-change handlers.
  bool UpdateData(bool take = true);
  void TakeUnchecked();
  // One control's text alone; setting it raises no edit-change handler.
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  // Files dropped on the control `id` go to this window's handler table in
  // place of the control's own handling (once a control).
  void RouteDroppedFiles(int id);
  // Ends the modal loop with `result`; a modeless window is destroyed.
  void EndDialog(INT_PTR result);

  // Control ids named in the handler table and in the data exchange.
  virtual std::vector<int> HandlerControlIds() const { return {}; }
  std::vector<int> ExchangeControlIds();

 protected:
  // Centres the window over its owner (or the screen) and shows the state;
  // TRUE lets the system put the focus on the first control.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(DataExchange&) {}
  // Enter: takes the state, then ends with IDOK (not when a value was refused).
  virtual void OnOK();
  // Esc and the close box.
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // The window's last work, with its controls still there. Runs once however
  // the window ends; an override does its part and then calls the base.
  virtual void DestroyWindow();
  virtual bool Route(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CenterWindow();

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool lastWorkDone_ = false;
  bool inWmDestroy_ = false;
  bool showingState_ = false;
};

// A dialog whose class T provides `static const HandlerTable<T>& Handlers()`.
template <class T>
class TableDialog : public Dialog {
 public:
  using Dialog::Dialog;

  std::vector<int> HandlerControlIds() const override {
    std::vector<int> ids;
    for (const HandlerRow<T>& row : T::Handlers()) {
      if (row.source != EventSource::kMessage) ids.push_back(static_cast<int>(row.key));
    }
    return ids;
  }

 protected:
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    T& self = static_cast<T&>(*this);
    UINT key = message;
    UINT code = 0;
    EventSource source = EventSource::kMessage;
    if (message == WM_COMMAND) {
      source = EventSource::kCommand;
      key = LOWORD(wParam);
      code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      source = EventSource::kNotify;
      key = static_cast<UINT>(header->idFrom);
      code = header->code;
    }
    for (const HandlerRow<T>& row : T::Handlers()) {
      if (row.source != source || row.key != key || row.code != code) continue;
      if (row.onMessage) return (self.*row.onMessage)(wParam, lParam, result);
      if (row.onEvent) {
        (self.*row.onEvent)();
      } else {
        (self.*row.onEventWithId)(static_cast<int>(key));
      }
      *result = 0;
      return true;
    }
    return false;
  }
};
