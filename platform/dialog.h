// The dialog layer: a dialog window over a template, with a handler table
// (control id and notification to a member handler) and one data-exchange
// function that moves values between the controls and the members in either
// direction.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Dialog;

// Reports an error that no operation expected (an exception that reached a
// window procedure): to the debugger output and in a message box over
// `owner`.
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

// One run of a window's DoDataExchange. Showing the state writes every bound
// member into its control; taking the state reads every control into its
// member, and a checked take also validates. A validation failure shows the
// standard message, puts the focus on the control and ends the exchange: the
// bindings after it are left as they were. Listing only collects the bound
// control ids.
class DataExchange {
 public:
  enum class Mode { kShow, kTake, kTakeUnchecked, kListIds };
  DataExchange(Dialog& dialog, Mode mode);

  bool Failed() const { return failed_; }
  const std::vector<int>& Ids() const { return ids_; }

  // The control's window text. A `maxChars` limit (in characters) is set on
  // the control when showing; a checked take refuses a longer text.
  void Text(int id, std::string& value, int maxChars = 0);
  // The check state of a check box.
  void Check(int id, bool& value);
  // Attaches the wrapper to the control; the wrapper is the state.
  void Control(int id, ControlWindow& control);

 private:
  bool Skip(int id);
  void Fail(HWND control, const std::string& message);

  Dialog& dialog_;
  Mode mode_;
  bool failed_ = false;
  std::vector<int> ids_;
};

// Handler tables. A row names the event and the member that handles it:
//   OnCommand(IDC_START, BN_CLICKED, &CQuintorDlg::OnStart)
//   OnCommandId(IDC_BBCB_SN, EN_CHANGE, &CBbcbSettingDlg::FilterHexField)
//   OnNotify(IDC_DOWNLOAD_LIST, NM_RCLICK, &CQuintorDlg::OnRclickDownloadList)
//   OnNotifyData(IDC_DOWNLOAD_LIST, LVN_KEYDOWN, &CQuintorDlg::OnKeydownDownloadList)
//   OnMessage(WM_SYSCOMMAND, &CQuintorDlg::OnSysCommand)
// A message handler (also one given a notification's data) returns true when
// it handled the message and sets the result; false passes the message on to
// the default handling.
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
constexpr HandlerRow<T> OnCommandId(int id, UINT code, void (T::*handler)(int)) {
  return {EventSource::kCommand, static_cast<UINT>(id), code, nullptr, handler, nullptr};
}
template <class T>
constexpr HandlerRow<T> OnNotify(int id, UINT code, void (T::*handler)()) {
  return {EventSource::kNotify, static_cast<UINT>(id), code, handler, nullptr, nullptr};
}
template <class T>
constexpr HandlerRow<T> OnNotifyData(int id, UINT code, bool (T::*handler)(WPARAM, LPARAM, LRESULT*)) {
  return {EventSource::kNotify, static_cast<UINT>(id), code, nullptr, nullptr, handler};
}
template <class T>
constexpr HandlerRow<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT*)) {
  return {EventSource::kMessage, message, 0, nullptr, nullptr, handler};
}

// A dialog window on a template of the program's resources. Run it with
// DoModal, or create it with CreateModeless (tests drive windows that way).
class Dialog {
 public:
  explicit Dialog(int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the window modally over `owner` and returns the result given to
  // EndDialog, or -1 when the window could not be created.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the window without a modal loop; null on failure.
  HWND CreateModeless(HWND owner = nullptr);
  // Ends a modeless window: its DestroyWindow work runs, then the window goes.
  void Destroy();

  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetDlgItem(int id) const;
  // true takes the state from the controls (with validation; false when a
  // value was refused), false shows the state in the controls. Showing the
  // state raises no edit-change handlers.
  bool UpdateData(bool take = true);
  // Takes the state from the controls without validating it.
  void TakeUnchecked();
  // One control's text, read or set alone; setting it raises no edit-change
  // handler.
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  // Sends `message` arriving at the control `id` on to this window, through
  // its handler table, in place of the control's own handling.
  void RouteControlMessage(int id, UINT message);
  // Ends the modal loop with `result`; a modeless window is destroyed.
  void EndDialog(INT_PTR result);
  // What EndDialog was given; -1 until then.
  INT_PTR Result() const { return result_; }

  // Control ids named in the handler table and in the data exchange.
  virtual std::vector<int> HandlerControlIds() const { return {}; }
  std::vector<int> ExchangeControlIds();

  // Shows a message of the dialog layer (a refused value) over the window.
  virtual void ShowMessage(const std::string& text);

 protected:
  // Centres the window over its owner (or the screen) and shows the state;
  // TRUE lets the system put the focus on the first control.
  virtual BOOL OnInitDialog();
  void CenterWindow();
  virtual void DoDataExchange(DataExchange& dx);
  // Enter: takes the state, then ends with IDOK (not when a value was refused).
  virtual void OnOK();
  // Esc and the close box.
  virtual void OnCancel();
  // The window's last work, with its controls still there. Runs once however
  // the window ends; an override does its part and then calls the base.
  virtual void DestroyWindow();
  // Routes one message through the window's handler table.
  virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // An exception left a handler: reported, never dropped.
  virtual void ReportError(const std::string& what);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Finish(UINT message, LRESULT result);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool lastWorkDone_ = false;
  bool inWmDestroy_ = false;
  bool showingState_ = false;
  INT_PTR result_ = -1;
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
      if (row.source != source || row.key != key) continue;
      if (source == EventSource::kMessage) return (self.*row.onMessage)(wParam, lParam, result);
      if (row.code != code) continue;
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
