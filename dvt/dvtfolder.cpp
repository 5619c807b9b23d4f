#include "dvt/dvtfolder.h"

#include "core/settings.h"

const char* const kDvtPathValueName = "Dvt_Path";

bool LoadDvtFolder(SettingsStore& store, std::string* folder) {
  RegistryValue value(kValueText, kSettingsKeyPath, kDvtPathValueName, store);
  std::string text;
  if (value.Load(&text) == 0) return false;
  *folder = text;
  return true;
}

bool StoreDvtFolder(SettingsStore& store, const std::string& folder) {
  RegistryValue value(kValueText, kSettingsKeyPath, kDvtPathValueName, store);
  return value.Save(&folder) == 1;
}
