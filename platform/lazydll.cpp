#include "platform/lazydll.h"

#include <string>

namespace {

// From the system folder by its full path, so that no file of the same name
// beside the program or in the current folder is loaded instead.
HMODULE SystemDll(const wchar_t* name) {
  const UINT size = GetSystemDirectoryW(nullptr, 0);
  if (size == 0) return nullptr;
  std::wstring path(size, L'\0');
  const UINT length = GetSystemDirectoryW(&path[0], size);
  if (length == 0 || length >= size) return nullptr;
  path.resize(length);
  return LoadLibraryW((path + L"\\" + name).c_str());
}

// Loaded once, kept for the life of the process.
HMODULE Ole32() {
  static const HMODULE dll = SystemDll(L"ole32.dll");
  return dll;
}

HMODULE Shell32() {
  static const HMODULE dll = SystemDll(L"shell32.dll");
  return dll;
}

template <class F>
F* Function(HMODULE dll, const char* name) {
  return dll ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(dll, name))) : nullptr;
}

}  // namespace

namespace lazy {

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags) {
  static auto* const f = Function<decltype(::CoInitializeEx)>(Ole32(), "CoInitializeEx");
  return f ? f(reserved, flags) : E_FAIL;
}

void CoUninitialize() {
  static auto* const f = Function<decltype(::CoUninitialize)>(Ole32(), "CoUninitialize");
  if (f) f();
}

HRESULT OleInitialize(LPVOID reserved) {
  static auto* const f = Function<decltype(::OleInitialize)>(Ole32(), "OleInitialize");
  return f ? f(reserved) : E_FAIL;
}

void OleUninitialize() {
  static auto* const f = Function<decltype(::OleUninitialize)>(Ole32(), "OleUninitialize");
  if (f) f();
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  static auto* const f = Function<decltype(::CoCreateInstance)>(Ole32(), "CoCreateInstance");
  return f ? f(clsid, outer, context, iid, object) : E_FAIL;
}

void CoTaskMemFree(LPVOID memory) {
  static auto* const f = Function<decltype(::CoTaskMemFree)>(Ole32(), "CoTaskMemFree");
  if (f) f(memory);
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  static auto* const f = Function<decltype(::SHBrowseForFolderW)>(Shell32(), "SHBrowseForFolderW");
  return f ? f(info) : nullptr;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  static auto* const f = Function<decltype(::SHGetPathFromIDListW)>(Shell32(), "SHGetPathFromIDListW");
  return f ? f(list, path) : FALSE;
}

HRESULT SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID iid, void** item) {
  static auto* const f =
      Function<decltype(::SHCreateItemFromParsingName)>(Shell32(), "SHCreateItemFromParsingName");
  return f ? f(path, context, iid, item) : E_FAIL;
}

HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path) {
  static auto* const f = Function<decltype(::SHGetKnownFolderPath)>(Shell32(), "SHGetKnownFolderPath");
  if (!f) {
    *path = nullptr;
    return E_FAIL;
  }
  return f(id, flags, token, path);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR file, UINT size) {
  static auto* const f = Function<decltype(::DragQueryFileW)>(Shell32(), "DragQueryFileW");
  return f ? f(drop, index, file, size) : 0;
}

void DragFinish(HDROP drop) {
  static auto* const f = Function<decltype(::DragFinish)>(Shell32(), "DragFinish");
  if (f) f(drop);
}

}  // namespace lazy
