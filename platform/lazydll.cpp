#include "platform/lazydll.h"

#include <string>

#include "platform/wide.h"

namespace {

// By its full path, so that no file of the same name beside the program or in
// the current folder is loaded instead.
HMODULE SystemDll(const wchar_t* name) {
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
