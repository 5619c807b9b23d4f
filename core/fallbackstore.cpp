#include "core/fallbackstore.h"

std::optional<SettingsStore::Value> FallbackSettingsStore::Read(const std::string& keyPath,
                                                                const std::string& name) const {
  std::optional<Value> value = user_.Read(keyPath, name);
  if (value) return value;
  return machine_.Read(keyPath, name);
}

bool FallbackSettingsStore::Write(const std::string& keyPath, const std::string& name, const std::string& bytes) {
  if (!machine_.Write(keyPath, name, bytes)) return user_.Write(keyPath, name, bytes);
  // A per-user copy would win the next read: keep it equal, and report the
  // write as lost when it cannot be.
  if (user_.Read(keyPath, name)) return user_.Write(keyPath, name, bytes);
  return true;
}
