// The main window's stored values, and the DVT folder it shares with the DVT
// Test window.
#pragma once

#include <cstdint>
#include <string>

#include "core/settings.h"

struct MainSettings {
  std::string toolPath;       // "Dorvik_Path": kept only while the file is found
  int32_t port = 1;           // "Serial_Port"
  int32_t baudRate = 115200;  // "Serial_Baudrate"
  int32_t dataBits = 8;       // "Serial_Data"
  int32_t stopBits = 0;       // "Serial_Stopbits"
  int32_t parity = 0;         // "Serial_Parity"
  std::string outputPath;     // "Output_Path"
  std::string dvtPath;        // "Dvt_Path"
};

// The eight values in table order, as SettingsExchange loads or saves them.
void ExchangeMainSettings(SettingsStore& store, const FileSystem& fs, MainSettings& settings, SettingsMode mode);

// "Dvt_Path" alone, which each window stores as soon as it is chosen there
// and reads again before it offers or keeps a folder, so the latest choice
// wins. Load leaves `folder` unchanged when the value is missing or unreadable.
bool LoadDvtFolder(SettingsStore& store, std::string* folder);
bool StoreDvtFolder(SettingsStore& store, const std::string& folder);
