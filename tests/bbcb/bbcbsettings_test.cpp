#include <gtest/gtest.h>

#include "bbcb/bbcbsettings.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

const char* const kBbcbSettingNames[7] = {"BBCB_Path", "BBCB_Config", "BBCB_SN", "BBCB_RN",
                                          "BBCB_Menufacturer_SN", "BBCB_Menufacturer_Mac", "BBCB_Output"};

namespace {

using Mac = std::array<std::string, 6>;

TEST(BbcbSettings, SevenValuesRoundTripInOrder) {
  FakeSettingsStore store;
  FakeFileSystem fs;
  fs.AddFile("D:\\Bench\\irdeto_make_bbcb.exe", "MZ");
  BbcbFields saved;
  saved.toolPath = "D:\\Bench\\irdeto_make_bbcb.exe";
  saved.configPath = "E:\\설정\\box.cfg";  // not (or no longer) there
  saved.serialNumber = "0012ABCD";
  saved.rn = "1a2b";
  saved.manufacturerSn = "MF 001 \"&\" 한글";
  saved.mac = {"0", "1A", "2b", "3", "4D", "5E"};
  saved.outputFolder = "G:\\릴리스 폴더";
  ExchangeBbcbSettings(store, fs, saved, SettingsMode::kSave);
  const std::vector<std::string> order(kBbcbSettingNames, kBbcbSettingNames + 7);
  EXPECT_EQ(order, store.writes);

  std::string stored = "x";
  RegistryValue(kValueText, kSettingsKeyPath, "BBCB_Config", store).Load(&stored);
  EXPECT_EQ("", stored);  // a vanished file clears its setting

  BbcbFields loaded;
  loaded.configPath = "kept";  // a value not taken leaves its field alone
  store.SetText(kSettingsKeyPath, "BBCB_Config", "E:\\gone.cfg");
  ExchangeBbcbSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ(saved.toolPath, loaded.toolPath);
  EXPECT_EQ("kept", loaded.configPath);
  EXPECT_EQ(saved.serialNumber, loaded.serialNumber);
  EXPECT_EQ(saved.rn, loaded.rn);
  EXPECT_EQ(saved.manufacturerSn, loaded.manufacturerSn);
  EXPECT_EQ((Mac{"00", "1A", "2b", "03", "4D", "5E"}), loaded.mac);
  EXPECT_EQ(saved.outputFolder, loaded.outputFolder);
}

TEST(BbcbSettings, MacStoredForms) {
  const struct {
    Mac fields;
    const char* stored;
    Mac loaded;
  } rows[] = {
      {{"0A", "1B", "2C", "3D", "4E", "5F"}, "0A1B2C3D4E5F", {"0A", "1B", "2C", "3D", "4E", "5F"}},
      {{"a", "1", "2", "3", "4", "5"}, "0a0102030405", {"0a", "01", "02", "03", "04", "05"}},
      {{"0A", "1", "", "", "", "5E"}, "0A:01::::5E", {"0A", "01", "", "", "", "5E"}},
      {{"", "", "", "", "", "f"}, ":::::0f", {"", "", "", "", "", "0f"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.stored, JoinBbcbMac(row.fields));
    Mac back;
    EXPECT_TRUE(SplitBbcbMac(row.stored, back)) << row.stored;
    EXPECT_EQ(row.loaded, back);
  }
  EXPECT_EQ("", JoinBbcbMac(Mac{}));
  // Twelve characters, whatever they are, split in pairs of characters.
  Mac mac;
  ASSERT_TRUE(SplitBbcbMac("가나다라마바사아자차카타", mac));
  EXPECT_EQ("가나", mac[0]);
  EXPECT_EQ("카타", mac[5]);
  for (const char* bad : {"", "001A2B3C4D5", "001A2B3C4D5E6", "0A:1B:2C", "0A:1B::::::5E", "0A:1G::::", "0A1:B::::"}) {
    mac = {"k", "", "", "", "", ""};
    EXPECT_FALSE(SplitBbcbMac(bad, mac)) << bad;
    EXPECT_EQ("k", mac[0]);
  }
}

TEST(BbcbSettings, HexFilterKeepsOnlyHexDigits) {
  const std::pair<const char*, const char*> rows[] = {
      {"G1h2", "12"},          {"0:a", "0a"},          {"0012ABCD", "0012ABCD"},
      {"abcdefABCDEF", "abcdefABCDEF"}, {"한1글a", "1a"}, {"", ""},
      {"\xC3\xA9" "e", "e"},  {" -x", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(row.second, FilterHexText(row.first)) << row.first;
}

}  // namespace
