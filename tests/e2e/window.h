// Finding and reading another process's windows: the operator's driver and
// the benchmark's timer both stand outside Quintor's process.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/wide.h"

// Asks the window itself, so a control of another process gives its text
// (GetWindowText would give its empty caption).
inline std::wstring WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return std::wstring();
  std::wstring w(static_cast<size_t>(length) + 1, L'\0');
  SendMessageTimeoutW(hwnd, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG, 5000, nullptr);
  w.resize(wcslen(w.c_str()));
  return w;
}

// The first visible top-level window for which `match` holds.
inline HWND FindTop(const std::function<bool(HWND)>& match) {
  for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, nullptr); w; w = FindWindowExW(nullptr, w, nullptr, nullptr))
    if (IsWindowVisible(w) && match(w)) return w;
  return nullptr;
}

inline HWND FindTopWindow(const std::wstring& caption) {
  return FindTop([&](HWND hwnd) { return WindowText(hwnd) == caption; });
}

// The name field of a file dialog: an edit in combo box 1148 in the Explorer
// style (or the combo box itself), edit 1152 in the older one.
inline HWND FileNameField(HWND dlg) {
  HWND combo = GetDlgItem(dlg, 1148);
  if (!combo) return GetDlgItem(dlg, 1152);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  return edit ? edit : combo;
}

// Polls a condition every `pollMs` until it holds or `seconds` have passed:
// from outside the process the window list is all there is to wait on.
template <class F>
bool WaitFor(double seconds, F condition, DWORD pollMs = 50) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(pollMs);
  }
  return true;
}
