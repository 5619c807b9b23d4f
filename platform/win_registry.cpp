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
  if (RegOpenKeyExW(RootKey(root_), Widen(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring wideName = Widen(name);
  // A value too large for the buffer, or grown since it was asked for, gives
  // the size to ask again with.
  std::string bytes(256, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = REG_NONE;
    DWORD got = static_cast<DWORD>(bytes.size());
    const LSTATUS status =
        RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &got);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    bytes.resize(got);
    if (status == ERROR_SUCCESS) return Value{type, bytes};
  }
  return std::nullopt;
}

bool WinRegistryStore::Write(const std::string& keyPath, const std::string& name, const std::string& bytes) {
  if (bytes.size() > 0x7FFFFFFF) return false;
  KeyOwner key;
  if (RegCreateKeyExW(RootKey(root_), Widen(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, key.Out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // Texts come with their terminator. For data whose last character is not
  // zero (4 raw bytes), the system also looks at the character after the data
  // and, when that is zero, stores it too; a nonzero one there keeps the value
  // exactly as given.
  std::string buffer = bytes;
  buffer.append(4, '\xFF');
  return RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer.data()),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}
