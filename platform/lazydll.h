// The shell and COM functions Quintor uses, from shell32 and ole32 loaded on
// first use. Imported, these DLLs (and what they load in turn) would be
// loaded before the main window shows; only dialogs the operator opens, drops
// and the per-user folder need them. Functions newer than the oldest system
// Quintor runs on are looked up the same way.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <type_traits>
#include <utility>

namespace lazy {

// Loaded once from the system folder, kept for the life of the process.
HMODULE Ole32();
HMODULE Shell32();

// Calls the function `name` of type F from `dll`. When the DLL or the function
// cannot be loaded, fails as the function fails: E_FAIL for an HRESULT, else a
// zero or null result, or nothing.
template <class F, class... A>
auto Call(HMODULE dll, const char* name, A&&... args) {
  F* const f = dll ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(dll, name))) : nullptr;
  using R = decltype(f(std::forward<A>(args)...));
  if (f) return f(std::forward<A>(args)...);
  if constexpr (std::is_same_v<R, HRESULT>) return E_FAIL;
  return R();
}

// Each calls the system function of the same name; decltype names its type
// without importing it.
inline HRESULT OleInitialize(LPVOID reserved) {
  return Call<decltype(::OleInitialize)>(Ole32(), "OleInitialize", reserved);
}
inline void OleUninitialize() { Call<decltype(::OleUninitialize)>(Ole32(), "OleUninitialize"); }
inline HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  return Call<decltype(::CoCreateInstance)>(Ole32(), "CoCreateInstance", clsid, outer, context, iid, object);
}
inline void CoTaskMemFree(LPVOID memory) { Call<decltype(::CoTaskMemFree)>(Ole32(), "CoTaskMemFree", memory); }
inline PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  return Call<decltype(::SHBrowseForFolderW)>(Shell32(), "SHBrowseForFolderW", info);
}
inline BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  return Call<decltype(::SHGetPathFromIDListW)>(Shell32(), "SHGetPathFromIDListW", list, path);
}
inline HRESULT SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID iid, void** item) {
  return Call<decltype(::SHCreateItemFromParsingName)>(Shell32(), "SHCreateItemFromParsingName", path, context, iid,
                                                       item);
}
inline HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path) {
  return Call<decltype(::SHGetKnownFolderPath)>(Shell32(), "SHGetKnownFolderPath", id, flags, token, path);
}
inline UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR file, UINT size) {
  return Call<decltype(::DragQueryFileW)>(Shell32(), "DragQueryFileW", drop, index, file, size);
}
inline void DragFinish(HDROP drop) { Call<decltype(::DragFinish)>(Shell32(), "DragFinish", drop); }
// Windows 7 and later.
inline BOOL ChangeWindowMessageFilterEx(HWND hwnd, UINT message, DWORD action, PCHANGEFILTERSTRUCT status) {
  return Call<decltype(::ChangeWindowMessageFilterEx)>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx",
                                                       hwnd, message, action, status);
}

}  // namespace lazy
