// The BBCB Setting window's stored values and its hex-field filter.
#pragma once

#include <array>
#include <string>

#include "core/settings.h"

// The window's texts, as its fields hold them.
struct BbcbFields {
  std::string toolPath;                // "BBCB_Path"
  std::string configPath;              // "BBCB_Config"
  std::string serialNumber;            // "BBCB_SN"
  std::string rn;                      // "BBCB_RN"
  std::string manufacturerSn;          // "BBCB_Menufacturer_SN"
  std::array<std::string, 6> mac;      // "BBCB_Menufacturer_Mac", bytes 1 to 6
  std::string outputFolder;            // "BBCB_Output"
};

// The seven values in table order, as SettingsExchange loads or saves them;
// the MAC as JoinBbcbMac and SplitBbcbMac have it.
void ExchangeBbcbSettings(SettingsStore& store, const FileSystem& fs, BbcbFields& fields, SettingsMode mode);

// The stored form of the MAC fields. All six filled: each byte as two digits
// (a one-digit byte gets a leading zero), joined without separators into 12
// characters. All empty: the empty text. Some empty: the bytes joined with
// ':' so that nothing is invented and nothing is lost ("0A:1B::::5E").
std::string JoinBbcbMac(const std::array<std::string, 6>& mac);
// The fields of a stored MAC text: exactly 12 characters split in pairs, or
// the ':' form above. False (fields untouched) for any other text.
bool SplitBbcbMac(const std::string& stored, std::array<std::string, 6>& mac);

// `text` with only the characters 0-9, A-F and a-f kept, in order; every other
// character is dropped whole (a multi-byte UTF-8 character included).
std::string FilterHexText(const std::string& text);
