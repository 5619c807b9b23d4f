// The start-up baseline: the smallest modal dialog program, built with the
// same toolchain and options as Quintor. Its template lives in memory: a
// caption "Minimal" and one edit control (id 1001) filled when the dialog
// initialises. Esc or the close box ends it.
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

void Align(std::vector<WORD>& t) {
  if (t.size() % 2) t.push_back(0);  // DWORD alignment for the next item
}

void Put(std::vector<WORD>& t, DWORD v) {
  t.push_back(LOWORD(v));
  t.push_back(HIWORD(v));
}

void PutText(std::vector<WORD>& t, const wchar_t* s) {
  for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
  t.push_back(0);
}

std::vector<WORD> MakeTemplate() {
  std::vector<WORD> t;
  Put(t, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  Put(t, 0);
  t.push_back(1);  // one control
  t.push_back(0);
  t.push_back(0);
  t.push_back(200);
  t.push_back(60);
  t.push_back(0);  // no menu
  t.push_back(0);  // standard class
  PutText(t, L"Minimal");
  t.push_back(9);
  PutText(t, L"MS Shell Dlg");
  Align(t);
  Put(t, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL);
  Put(t, 0);
  t.push_back(10);
  t.push_back(20);
  t.push_back(180);
  t.push_back(14);
  t.push_back(1001);
  t.push_back(0xFFFF);
  t.push_back(0x0081);  // edit
  t.push_back(0);       // no text
  t.push_back(0);       // no creation data
  return t;
}

INT_PTR CALLBACK MinimalProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dlg, 1001, L"ready");
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dlg, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dlg, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::vector<WORD> t = MakeTemplate();
  DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), nullptr, MinimalProc, 0);
  return 0;
}
