// Stored settings an operator's machine may really hold: other value kinds,
// huge and malformed values. Each loads soundly, and what the next close
// stores is what the next start reads.
#include <gtest/gtest.h>

#include "core/mainsettings.h"
#include "core/fallbackstore.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

namespace {

std::string Utf16(const std::u16string& s) {
  std::string bytes;
  for (const char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string Dword(uint32_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

bool operator==(const MainSettings& a, const MainSettings& b) {
  return a.toolPath == b.toolPath && a.port == b.port && a.baudRate == b.baudRate && a.dataBits == b.dataBits &&
         a.stopBits == b.stopBits && a.parity == b.parity && a.outputPath == b.outputPath && a.dvtPath == b.dvtPath;
}

TEST(StoredSettingsHardening, BadValuesLoadSoundlyAndSurviveTheNextClose) {
  struct Case {
    const char* what;
    const char* name;
    uint32_t type;
    std::string bytes;
    int32_t MainSettings::*field;
    int32_t expected;
  };
  const Case cases[] = {
      {"a number stored as REG_DWORD", "Serial_Port", kRegDword, Dword(3), &MainSettings::port, 3},
      {"REG_BINARY is not text", "Serial_Baudrate", kRegBinary, "\x00\xC2\x01\x00", &MainSettings::baudRate, 115200},
      {"one text in REG_MULTI_SZ", "Serial_Data", kRegMultiSz, Utf16(u"7") + std::string(4, '\0'),
       &MainSettings::dataBits, 7},
      {"two texts in REG_MULTI_SZ", "Serial_Data", kRegMultiSz, Utf16(u"7") + std::string(2, '\0') + Utf16(u"8"),
       &MainSettings::dataBits, 8},
      {"empty REG_SZ", "Serial_Parity", kRegSz, "", &MainSettings::parity, 0},
      {"empty REG_NONE", "Serial_Stopbits", kRegNone, "", &MainSettings::stopBits, 0},
      {"odd byte count", "Serial_Port", kRegSz, "5", &MainSettings::port, 1},
      {"not a number", "Serial_Port", kRegSz, Utf16(u"COM3"), &MainSettings::port, 1},
      {"digits then text", "Serial_Port", kRegSz, Utf16(u"12abc"), &MainSettings::port, 12},
      {"outside every catalogue", "Serial_Baudrate", kRegSz, Utf16(u"300"), &MainSettings::baudRate, 300},
      {"outside 32 bits", "Serial_Baudrate", kRegSz, Utf16(u"99999999999"), &MainSettings::baudRate, 115200},
      {"lowest 32-bit number", "Serial_Parity", kRegSz, Utf16(u"-2147483648"), &MainSettings::parity, INT32_MIN},
      {"DWORD beyond INT32_MAX", "Serial_Port", kRegDword, Dword(0x80000000u), &MainSettings::port, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSettingsStore store;
    store.values[FakeSettingsStore::Key(kSettingsKeyPath, c.name)] = SettingsStore::Value{c.type, c.bytes};
    FakeFileSystem fs;
    MainSettings loaded;
    ExchangeMainSettings(store, fs, loaded, SettingsMode::kLoad);
    EXPECT_EQ(c.expected, loaded.*c.field);

    FakeSettingsStore next;
    ExchangeMainSettings(next, fs, loaded, SettingsMode::kSave);
    MainSettings again;
    ExchangeMainSettings(next, fs, again, SettingsMode::kLoad);
    EXPECT_TRUE(loaded == again);
  }
}

TEST(StoredSettingsHardening, HugeValuesLoadWholeAndPathsNamingNoFileAreNotKept) {
  FakeSettingsStore store;
  FakeFileSystem fs;
  const std::string huge = "E:\\" + std::string(100 * 1024, 'x');
  store.SetText(kSettingsKeyPath, "Output_Path", huge);
  store.SetText(kSettingsKeyPath, "Dvt_Path", "\\\\server\\share\\DVT 한글 é & % ^ ( )");
  fs.AddFolder("C:\\Bench");
  store.SetText(kSettingsKeyPath, "Dorvik_Path", "C:\\Bench");  // a folder
  MainSettings loaded;
  loaded.toolPath = "C:\\Old\\Dorvik.exe";
  ExchangeMainSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ(huge, loaded.outputPath);
  EXPECT_EQ("\\\\server\\share\\DVT 한글 é & % ^ ( )", loaded.dvtPath);
  EXPECT_EQ("C:\\Old\\Dorvik.exe", loaded.toolPath);

  store.SetText(kSettingsKeyPath, "Dorvik_Path", "C:\\Gone\\Dorvik.exe");  // a vanished file
  ExchangeMainSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ("C:\\Old\\Dorvik.exe", loaded.toolPath);

  FakeSettingsStore next;
  ExchangeMainSettings(next, fs, loaded, SettingsMode::kSave);
  MainSettings again;
  ExchangeMainSettings(next, fs, again, SettingsMode::kLoad);
  EXPECT_EQ(huge, again.outputPath);
  EXPECT_EQ(loaded.dvtPath, again.dvtPath);
  EXPECT_EQ("", again.toolPath);  // its file is gone: stored empty
}

TEST(StoredSettingsHardening, RefusedMachineKeyFallsBackToTheUserKeyAndLosesNothing) {
  FakeSettingsStore machine;
  FakeSettingsStore user;
  machine.SetText(kSettingsKeyPath, "Serial_Port", "4");
  machine.refuseWrites = true;
  FallbackSettingsStore store(machine, user);
  FakeFileSystem fs;
  fs.AddFile("C:\\Bench\\Dorvik.exe", "MZ");

  MainSettings loaded;
  ExchangeMainSettings(store, fs, loaded, SettingsMode::kLoad);
  ASSERT_EQ(4, loaded.port);
  loaded.port = 6;
  loaded.toolPath = "C:\\Bench\\Dorvik.exe";
  ExchangeMainSettings(store, fs, loaded, SettingsMode::kSave);
  EXPECT_EQ(8u, user.writes.size());

  MainSettings again;
  ExchangeMainSettings(store, fs, again, SettingsMode::kLoad);
  EXPECT_TRUE(loaded == again);
}

}  // namespace
