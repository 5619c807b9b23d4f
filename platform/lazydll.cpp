#include "platform/lazydll.h"

#include <string>

#include "platform/wide.h"

namespace {

// From the system folder alone, with every DLL it needs in turn, so that no
// file beside the program or in the current folder is ever loaded. A system
// without that search (no AddDllDirectory) gets the DLL by its full path.
HMODULE SystemDll(const wchar_t* name) {
  if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory")) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  const std::wstring folder = SystemFolderPath(GetSystemDirectoryW);
  return folder.empty() ? nullptr : LoadLibraryW((folder + L"\\" + name).c_str());
}

}  // namespace

namespace lazy {

HMODULE Ole32() {
  static const HMODULE dll = SystemDll(L"ole32.dll");
  return dll;
}

HMODULE Shell32() {
  static const HMODULE dll = SystemDll(L"shell32.dll");
  return dll;
}

}  // namespace lazy
