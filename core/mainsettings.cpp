#include "core/mainsettings.h"

constexpr char kDvtPath[] = "Dvt_Path";

void ExchangeMainSettings(SettingsStore& store, const FileSystem& fs, MainSettings& settings, SettingsMode mode) {
  SettingsExchange x(store, fs, mode);
  x.FilePath("Dorvik_Path", settings.toolPath);
  x.Number("Serial_Port", settings.port);
  x.Number("Serial_Baudrate", settings.baudRate);
  x.Number("Serial_Data", settings.dataBits);
  x.Number("Serial_Stopbits", settings.stopBits);
  x.Number("Serial_Parity", settings.parity);
  x.Text("Output_Path", settings.outputPath);
  x.Text(kDvtPath, settings.dvtPath);
}

bool LoadDvtFolder(SettingsStore& store, std::string* folder) {
  return RegistryValue(kValueText, kSettingsKeyPath, kDvtPath, store).Load(folder) == 1;
}

bool StoreDvtFolder(SettingsStore& store, const std::string& folder) {
  return RegistryValue(kValueText, kSettingsKeyPath, kDvtPath, store).Save(&folder) == 1;
}
