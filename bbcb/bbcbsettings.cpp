#include "bbcb/bbcbsettings.h"

#include "core/paths.h"
#include "core/settings.h"

const char* const kBbcbSettingNames[7] = {
    "BBCB_Path", "BBCB_Config", "BBCB_SN", "BBCB_RN", "BBCB_Menufacturer_SN", "BBCB_Menufacturer_Mac", "BBCB_Output",
};

namespace {

enum Row { kPath, kConfig, kSn, kRn, kManufacturerSn, kMac, kOutput };

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool IsUtf8Lead(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// The six pairs of characters (not bytes) of a 12-character text; false for
// any other length.
bool SplitTwelveCharacters(const std::string& text, std::array<std::string, 6>& pairs) {
  std::array<std::string, 6> parts;
  size_t count = 0;
  for (const char c : text) {
    if (IsUtf8Lead(c) && ++count > 12) return false;
    if (count == 0) return false;  // a stray continuation byte first
    parts[(count - 1) / 2] += c;
  }
  if (count != 12) return false;
  pairs = parts;
  return true;
}

std::string TwoDigits(const std::string& byte) { return byte.size() == 1 ? "0" + byte : byte; }

std::string ExistingFileOrEmpty(const FileSystem& fs, const std::string& path) {
  return GetFileSizeOrZero(fs, path) > 0 ? path : std::string();
}

}  // namespace

std::string JoinBbcbMac(const std::array<std::string, 6>& mac) {
  bool anyEmpty = false, allEmpty = true;
  for (const std::string& byte : mac) {
    anyEmpty = anyEmpty || byte.empty();
    allEmpty = allEmpty && byte.empty();
  }
  if (allEmpty) return {};
  std::string joined;
  for (size_t i = 0; i < mac.size(); ++i) {
    if (anyEmpty && i > 0) joined += ':';
    joined += TwoDigits(mac[i]);
  }
  return joined;
}

bool SplitBbcbMac(const std::string& stored, std::array<std::string, 6>& mac) {
  if (SplitTwelveCharacters(stored, mac)) return true;
  std::array<std::string, 6> parts;
  size_t k = 0;
  for (const char c : stored) {
    if (c == ':') {
      if (++k == parts.size()) return false;
    } else if (!IsHexDigit(c) || parts[k].size() == 2) {
      return false;
    } else {
      parts[k] += c;
    }
  }
  if (k != parts.size() - 1) return false;
  mac = parts;
  return true;
}

std::string FilterHexText(const std::string& text) {
  std::string kept;
  // Every byte of a multi-byte UTF-8 character is 0x80 or above, so dropping
  // the bytes that are not hex digits drops such a character whole.
  for (const char c : text) {
    if (IsHexDigit(c)) kept += c;
  }
  return kept;
}

void LoadBbcbSettings(SettingsStore& store, const FileSystem& fs, BbcbFields& fields) {
  for (int row = kPath; row <= kOutput; ++row) {
    RegistryValue value(kValueText, kSettingsKeyPath, kBbcbSettingNames[row], store);
    std::string text;
    if (value.Load(&text) != 1) continue;
    switch (row) {
      case kPath:
        if (GetFileSizeOrZero(fs, text) > 0) fields.toolPath = text;
        break;
      case kConfig:
        if (GetFileSizeOrZero(fs, text) > 0) fields.configPath = text;
        break;
      case kSn: fields.serialNumber = text; break;
      case kRn: fields.rn = text; break;
      case kManufacturerSn: fields.manufacturerSn = text; break;
      case kMac: SplitBbcbMac(text, fields.mac); break;
      case kOutput: fields.outputFolder = text; break;
    }
  }
}

void SaveBbcbSettings(SettingsStore& store, const FileSystem& fs, const BbcbFields& fields) {
  const std::string texts[7] = {
      ExistingFileOrEmpty(fs, fields.toolPath),
      ExistingFileOrEmpty(fs, fields.configPath),
      fields.serialNumber,
      fields.rn,
      fields.manufacturerSn,
      JoinBbcbMac(fields.mac),
      fields.outputFolder,
  };
  for (int row = kPath; row <= kOutput; ++row) {
    RegistryValue value(kValueText, kSettingsKeyPath, kBbcbSettingNames[row], store);
    value.Save(&texts[row]);
  }
}
