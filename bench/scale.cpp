// Scale benchmark of the main window, in-process on its real template with
// doubles of the OS services and dialogs:
//   insert  one "Insert" of 2,000 files into a list of 2,000 rows, every new
//           path checked against every row (none is a duplicate), repainted
//   history one "Start" (its run rows appended) with a history of 10,000 runs
// Prints one line per measurement: name, then milliseconds of each repetition
// (the argument: how many, 3 by default).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "invocation/toolcmdline.h"
#include "mainwin/quintordlg.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/fakes.h"
#include "tests/support/uidoubles.h"

namespace {

const char kFolder[] = "C:\\bench\\download images for the scale run";
const char kTool[] = "C:\\bench\\tool\\Dorvik.exe";

struct Bench : UiDoubles {
  std::unique_ptr<CQuintorDlg> dialog;
  HWND hwnd = nullptr;

  Bench() {
    clock.now = LocalTime{2011, 3, 7, 14, 5, 0};
    fs.AddFile(kTool, "tool");
    store.SetText("SOFTWARE\\Microsoft\\Quintor", "Dorvik_Path", kTool);
    dialog.reset(new CQuintorDlg(ui));
    hwnd = dialog->CreateModeless();
    ShowWindow(hwnd, SW_SHOW);
    Pump();
  }
  ~Bench() {
    if (hwnd) DestroyWindow(hwnd);
  }
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  int Rows(int id) const { return static_cast<int>(SendMessageW(Item(id), LVM_GETITEMCOUNT, 0, 0)); }
};

std::string FileName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "image%05d.SDL", i);
  return name;
}

double Time(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double InsertOnce() {
  Bench b;
  for (int i = 0; i < 2000; ++i) b.dialog->AppendFileRow(kFolder, FileName(i));
  std::vector<std::string> chosen;
  for (int i = 2000; i < 4000; ++i) chosen.push_back(std::string(kFolder) + "\\" + FileName(i));
  b.dialogs.files.push_back(chosen);
  b.Pump();
  const double ms = Time([&] {
    SendMessageW(b.hwnd, WM_COMMAND, MAKEWPARAM(ID_POPUP_INSERT, 0), 0);
    UpdateWindow(b.hwnd);
    RedrawWindow(b.hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
  if (b.Rows(IDC_DOWNLOAD_LIST) != 4000) {
    std::fprintf(stderr, "insert gave %d rows\n", b.Rows(IDC_DOWNLOAD_LIST));
    return -1;
  }
  return ms;
}

double HistoryOnce() {
  Bench b;
  b.dialog->AppendFileRow(kFolder, FileName(0));
  ListView_SetCheckState(b.Item(IDC_DOWNLOAD_LIST), 0, TRUE);
  const ToolCommandInputs inputs = b.dialog->CollectToolInputs();
  const std::vector<std::string> lines = ComposeRunHistoryLines(inputs, b.clock.now);
  HWND history = b.Item(IDC_RUN_HISTORY);
  SendMessageW(history, WM_SETREDRAW, FALSE, 0);
  int row = 0;
  for (int run = 0; run < 10000; ++run) {
    for (const std::string& line : lines) {
      if (line.empty()) continue;
      const std::wstring text = Widen(line);
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = const_cast<wchar_t*>(L"");
      row = static_cast<int>(SendMessageW(history, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      item.iSubItem = 1;
      item.pszText = const_cast<wchar_t*>(text.c_str());
      SendMessageW(history, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      ++row;
    }
  }
  SendMessageW(history, WM_SETREDRAW, TRUE, 0);
  b.Pump();
  const int before = b.Rows(IDC_RUN_HISTORY);
  const double ms = Time([&] {
    SendMessageW(b.hwnd, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED), reinterpret_cast<LPARAM>(b.Item(IDC_START)));
    UpdateWindow(b.hwnd);
    RedrawWindow(b.hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
  if (b.Rows(IDC_RUN_HISTORY) <= before || b.launcher.calls.size() != 1) {
    std::fprintf(stderr, "the run added no rows\n");
    return -1;
  }
  return ms;
}

void Report(const char* name, double (*measure)(), int count) {
  std::printf("%s", name);
  for (int i = 0; i < count; ++i) {
    const double ms = measure();
    if (ms < 0) std::exit(1);
    std::printf(" %.2f", ms);
  }
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Report("insert", InsertOnce, count);
  Report("history", HistoryOnce, count);
  return 0;
}
