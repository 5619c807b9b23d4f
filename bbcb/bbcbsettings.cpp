#include "bbcb/bbcbsettings.h"

#include <algorithm>

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The six pairs of characters (not bytes) of a 12-character text; false for
// any other length.
bool SplitTwelveCharacters(const std::string& text, std::array<std::string, 6>& pairs) {
  std::array<std::string, 6> parts;
  size_t count = 0;
  for (const char c : text) {
    const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (lead && ++count > 12) return false;
    if (count == 0) return false;  // a stray continuation byte first
    parts[(count - 1) / 2] += c;
  }
  if (count != 12) return false;
  pairs = parts;
  return true;
}

}  // namespace

std::string JoinBbcbMac(const std::array<std::string, 6>& mac) {
  const auto empty = [](const std::string& byte) { return byte.empty(); };
  if (std::all_of(mac.begin(), mac.end(), empty)) return {};
  const bool colons = std::any_of(mac.begin(), mac.end(), empty);
  std::string joined;
  for (size_t i = 0; i < mac.size(); ++i) {
    if (colons && i > 0) joined += ':';
    joined += (mac[i].size() == 1 ? "0" : "") + mac[i];
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

void ExchangeBbcbSettings(SettingsStore& store, const FileSystem& fs, BbcbFields& fields, SettingsMode mode) {
  SettingsExchange x(store, fs, mode);
  x.FilePath("BBCB_Path", fields.toolPath);
  x.FilePath("BBCB_Config", fields.configPath);
  x.Text("BBCB_SN", fields.serialNumber);
  x.Text("BBCB_RN", fields.rn);
  x.Text("BBCB_Menufacturer_SN", fields.manufacturerSn);
  std::string mac = JoinBbcbMac(fields.mac);
  if (x.Text("BBCB_Menufacturer_Mac", mac) && x.Loading()) SplitBbcbMac(mac, fields.mac);
  x.Text("BBCB_Output", fields.outputFolder);
}
