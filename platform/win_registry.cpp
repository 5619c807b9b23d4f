#include "platform/winservices.h"

#include <windows.h>

#include "platform/owner.h"
#include "platform/wide.h"

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

std::optional<SettingsStore::Value> WinRegistryStore::Read(const std::string& keyPath,
                                                           const std::string& name) const {
  KeyOwner key;
  if (RegOpenKeyW(RootKey(root_), Widen(keyPath).c_str(), key.Out()) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring wideName = Widen(name);
  // A value too large for the buffer, or grown since it was asked for, gives
  // the size to ask again with.
  for (std::string bytes(MAX_PATH, '\0');;) {
    DWORD type = REG_NONE;
    DWORD got = static_cast<DWORD>(bytes.size());
    const LSTATUS status =
        RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &got);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    bytes.resize(got);
    if (status == ERROR_SUCCESS) return Value{type, bytes};
  }
}

bool WinRegistryStore::Write(const std::string& keyPath, const std::string& name, const std::string& bytes) {
  if (bytes.size() > 0x7FFFFFFF) return false;
  // Texts come with their terminator. For data whose last character is not
  // zero (4 raw bytes), the system also looks at the character after the data
  // and, when that is zero, stores it too; a nonzero one there keeps the value
  // exactly as given.
  const std::string buffer = bytes + "\xFF\xFF";
  return RegSetKeyValueW(RootKey(root_), Widen(keyPath).c_str(), Widen(name).c_str(), REG_SZ, buffer.data(),
                         static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}
