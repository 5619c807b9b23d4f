// The settings store on the Windows registry.
#pragma once

#include <optional>
#include <string>

#include "core/services.h"

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// Named values under key paths of one registry root, through the wide
// functions, so a text written by a narrow program reads back the same. Each
// read and each write opens the key and closes it again. A 32-bit build sees
// the 32-bit view of the machine-wide root, as the stored settings always had.
class WinRegistryStore : public SettingsStore {
 public:
  explicit WinRegistryStore(RegistryRoot root);
  // The whole value, whatever its size and registry type.
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override;
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override;

 private:
  RegistryRoot root_;
};
