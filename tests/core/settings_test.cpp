#include <gtest/gtest.h>

#include "core/mainsettings.h"
#include "core/fallbackstore.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

namespace {

const char* const kKey = "SOFTWARE\\Microsoft\\Quintor";

std::string Utf16Bytes(const std::u16string& s) {
  std::string bytes;
  for (const char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// A text as it is stored: with its terminating zero.
std::string StoredText(const std::u16string& s) { return Utf16Bytes(s + u'\0'); }

SettingsStore::Value Stored(const FakeSettingsStore& store, const std::string& name) {
  return store.values.at(FakeSettingsStore::Key(kKey, name));
}

void Put(FakeSettingsStore& store, const std::string& name, uint32_t type, const std::string& bytes) {
  store.values[FakeSettingsStore::Key(kKey, name)] = SettingsStore::Value{type, bytes};
}

TEST(RegistryValue, EveryTypeRoundTripsInItsStoredForm) {
  FakeSettingsStore store;

  const std::string text = "C:\\툴\\Dorvik.exe";
  EXPECT_EQ(1, RegistryValue(kValueText, kKey, "T", store).Save(&text));
  EXPECT_EQ(kRegSz, Stored(store, "T").type);
  EXPECT_EQ(StoredText(u"C:\\툴\\Dorvik.exe"), Stored(store, "T").bytes);

  const uint32_t raw = 0x11223344;
  EXPECT_EQ(1, RegistryValue(kValueRaw32, kKey, "R", store).Save(&raw));
  EXPECT_EQ(std::string("\x44\x33\x22\x11", 4), Stored(store, "R").bytes);
  EXPECT_EQ(kRegSz, Stored(store, "R").type);

  const int32_t seven = 7;
  EXPECT_EQ(1, RegistryValue(kValueFlag, kKey, "F", store).Save(&seven));
  EXPECT_EQ(std::string("\x01\x00\x00\x00", 4), Stored(store, "F").bytes);

  const ValueRect rect{10, 20, 310, 220};
  EXPECT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Save(&rect));
  EXPECT_EQ(StoredText(u"(10,20,300,200)"), Stored(store, "Rect").bytes);

  const ValuePair pair{-3, 40};
  EXPECT_EQ(1, RegistryValue(kValuePairAlt, kKey, "P", store).Save(&pair));
  EXPECT_EQ(StoredText(u"(-3,40)"), Stored(store, "P").bytes);

  std::string textBack;
  uint32_t rawBack = 0;
  bool flagBack = false;
  ValueRect rectBack;
  ValuePair pairBack;
  EXPECT_EQ(1, RegistryValue(kValueText, kKey, "T", store).Load(&textBack));
  EXPECT_EQ(1, RegistryValue(kValueRaw32, kKey, "R", store).Load(&rawBack));
  EXPECT_EQ(1, RegistryValue(kValueFlag, kKey, "F", store).Load(&flagBack));
  EXPECT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Load(&rectBack));
  EXPECT_EQ(1, RegistryValue(kValuePair, kKey, "P", store).Load(&pairBack));
  EXPECT_EQ(text, textBack);
  EXPECT_EQ(raw, rawBack);
  EXPECT_TRUE(flagBack);
  EXPECT_EQ(310, rectBack.right);
  EXPECT_EQ(220, rectBack.bottom);
  EXPECT_EQ(-3, pairBack.first);
  EXPECT_EQ(40, pairBack.second);

  const int32_t zero = 0;
  RegistryValue(kValueFlag, kKey, "F", store).Save(&zero);
  EXPECT_EQ(1, RegistryValue(kValueFlag, kKey, "F", store).Load(&flagBack));
  EXPECT_FALSE(flagBack);
}

TEST(RegistryValue, LongTextLoadsWhole) {
  FakeSettingsStore store;
  for (const size_t length : {1023u, 1024u, 5000u}) {
    const std::string text(length, 'x');
    ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Long", store).Save(&text));
    std::string back;
    ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Long", store).Load(&back));
    EXPECT_EQ(text, back) << length;
  }
}

TEST(RegistryValue, RefusedCallsTouchNothing) {
  FakeSettingsStore store;
  store.SetText(kKey, "T", "stored");
  std::string text = "kept";
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "Missing", store).Load(&text));
  EXPECT_EQ(0, RegistryValue(kValueRect, kKey, "T", store).Load(&text));  // wrong kind for the type
  EXPECT_EQ(0, RegistryValue(0, kKey, "T", store).Load(&text));
  EXPECT_EQ(0, RegistryValue(7, kKey, "T", store).Load(&text));
  EXPECT_EQ("kept", text);
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "T", store).Load(static_cast<std::string*>(nullptr)));
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "T", store).Save(static_cast<const std::string*>(nullptr)));

  const std::string withZero("a\0b", 3);
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "T", store).Save(&withZero));
  store.refuseWrites = true;
  const std::string fine = "fine";
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "T", store).Save(&fine));
  store.refuseWrites = false;
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "T", store).Load(&text));
  EXPECT_EQ("stored", text);
}

TEST(RegistryValue, OtherRegistryKindsReadAsText) {
  struct Case {
    const char* label;
    uint32_t type;
    std::string bytes;
    bool loads;
    std::string text;
  };
  const Case cases[] = {
      {"REG_SZ with terminator", kRegSz, Utf16Bytes(u"57600") + std::string(2, '\0'), true, "57600"},
      {"REG_SZ with several zeros", kRegSz, Utf16Bytes(u"ab") + std::string(6, '\0'), true, "ab"},
      {"REG_SZ with embedded zero", kRegSz, Utf16Bytes(u"ab") + std::string(2, '\0') + Utf16Bytes(u"c"), false, ""},
      {"REG_SZ odd length", kRegSz, Utf16Bytes(u"ab") + "x", false, ""},
      {"REG_EXPAND_SZ not expanded", kRegExpandSz, Utf16Bytes(u"%TEMP%\\x"), true, "%TEMP%\\x"},
      {"REG_MULTI_SZ one text", kRegMultiSz, Utf16Bytes(u"COM3") + std::string(4, '\0'), true, "COM3"},
      {"REG_MULTI_SZ two texts", kRegMultiSz, Utf16Bytes(u"a") + std::string(2, '\0') + Utf16Bytes(u"b") + std::string(4, '\0'), false, ""},
      {"REG_DWORD", kRegDword, std::string("\x00\xE1\x00\x00", 4), true, "57600"},
      {"REG_DWORD wrong size", kRegDword, std::string("\x01\x00", 2), false, ""},
      {"REG_QWORD", 11, std::string("\x05\x00\x00\x00\x00\x00\x00\x00", 8), true, "5"},
      {"REG_BINARY", kRegBinary, "57600", false, ""},
      {"empty REG_BINARY", kRegBinary, "", true, ""},
      {"empty REG_NONE", kRegNone, "", true, ""},
  };
  for (const Case& c : cases) {
    FakeSettingsStore store;
    Put(store, "V", c.type, c.bytes);
    std::string text = "unchanged";
    EXPECT_EQ(c.loads ? 1 : 0, RegistryValue(kValueText, kKey, "V", store).Load(&text)) << c.label;
    EXPECT_EQ(c.loads ? c.text : "unchanged", text) << c.label;
  }
}

TEST(RegistryValue, RawValuesTakeUpToFourBytesOfAnyKind) {
  FakeSettingsStore store;
  uint32_t raw = 99;
  Put(store, "V", kRegBinary, std::string("\x02\x01", 2));
  EXPECT_EQ(1, RegistryValue(kValueRaw32, kKey, "V", store).Load(&raw));
  EXPECT_EQ(0x0102u, raw);
  Put(store, "V", kRegSz, std::string(5, '\x01'));
  raw = 99;
  EXPECT_EQ(0, RegistryValue(kValueRaw32, kKey, "V", store).Load(&raw));
  EXPECT_EQ(99u, raw);
  bool flag = false;
  Put(store, "V", kRegDword, std::string("\x00\x00\x00\x80", 4));
  EXPECT_EQ(1, RegistryValue(kValueFlag, kKey, "V", store).Load(&flag));
  EXPECT_TRUE(flag);
}

TEST(ParseStoredNumbers, RightToLeftRules) {
  struct Case {
    const char* text;
    int count;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"(10,20,300,200)", 4, {10, 20, 300, 200}},
      {"(-8,-8,1040,780)", 4, {-8, -8, 1040, 780}},
      {"( 5 , 6 )", 2, {5, 6}},
      {"(1,2,3)", 2, {2, 3}},          // the last numbers win
      {"(7)", 2, {0, 7}},              // fewer numbers fill the last slots
      {"", 2, {0, 0}},
      {"abc", 2, {0, 0}},
      {"(5,)", 2, {5, 0}},             // an empty number is 0
      {"(1 2,3)", 2, {12, 3}},         // digits split by skipped characters join
      {"(a1b2,x3y)", 2, {12, 3}},
      {"((4)),((5))", 2, {4, 5}},
      {"(--5,- 6)", 2, {-5, 6}},       // '-' counts only right before the digits
      {"(6-,7)", 2, {6, 7}},
      {"(2147483647,-2147483648)", 2, {2147483647, INT32_MIN}},
      {"(0,0,0,0)", 4, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> slots(c.count, 12345);
    ParseStoredNumbers(c.text, slots.data(), c.count);
    EXPECT_EQ(c.expected, slots) << c.text;
  }
}

TEST(RegistryValue, RectangleEdgeCases) {
  FakeSettingsStore store;
  store.SetText(kKey, "Rect", "(-8,-8,1040,780)");
  ValueRect rect;
  ASSERT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Load(&rect));
  EXPECT_EQ(-8, rect.left);
  EXPECT_EQ(-8, rect.top);
  EXPECT_EQ(1032, rect.right);
  EXPECT_EQ(772, rect.bottom);
  ASSERT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Save(&rect));
  EXPECT_EQ(StoredText(u"(-8,-8,1040,780)"), Stored(store, "Rect").bytes);

  // A rectangle too wide for 32 bits saves and loads back without overflow.
  const ValueRect wide{INT32_MIN, 0, INT32_MAX, 0};
  ASSERT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Save(&wide));
  ValueRect back;
  ASSERT_EQ(1, RegistryValue(kValueRect, kKey, "Rect", store).Load(&back));
  EXPECT_EQ(INT32_MIN, back.left);
  EXPECT_EQ(INT32_MAX, back.right);
}

TEST(ScanDecimal, PercentDRules) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  };
  const Case cases[] = {
      {"57600", true, 57600},   {"  42", true, 42},      {"\t-3", true, -3},       {"+7", true, 7},
      {"12abc", true, 12},      {"9 9", true, 9},        {"abc", false, 0},        {"", false, 0},
      {"-", false, 0},          {"+ 1", false, 0},       {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},                  {"2147483648", false, 0}, {"99999999999999999999", false, 0},
      {"000000000000000000001", true, 1},
  };
  for (const Case& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(c.ok, ScanDecimal(c.text, &value)) << c.text;
    EXPECT_EQ(c.ok ? c.value : -99, value) << c.text;
  }
}

class MainSettingsTest : public ::testing::Test {
 protected:
  FakeSettingsStore store;
  FakeFileSystem fs;
  MainSettings settings;
};

TEST_F(MainSettingsTest, FirstStartGivesDefaultsAndClosingWritesAllEight) {
  ExchangeMainSettings(store, fs, settings, SettingsMode::kLoad);
  EXPECT_EQ("", settings.toolPath);
  EXPECT_EQ(1, settings.port);
  EXPECT_EQ(115200, settings.baudRate);
  EXPECT_EQ(8, settings.dataBits);
  EXPECT_EQ(0, settings.stopBits);
  EXPECT_EQ(0, settings.parity);
  EXPECT_EQ("", settings.outputPath);
  EXPECT_EQ("", settings.dvtPath);

  ExchangeMainSettings(store, fs, settings, SettingsMode::kSave);
  const std::vector<std::string> order = {"Dorvik_Path",     "Serial_Port",   "Serial_Baudrate", "Serial_Data",
                                          "Serial_Stopbits", "Serial_Parity", "Output_Path",     "Dvt_Path"};
  EXPECT_EQ(order, store.writes);
  EXPECT_EQ(StoredText(u"115200"), Stored(store, "Serial_Baudrate").bytes);
  EXPECT_EQ(StoredText(u""), Stored(store, "Dorvik_Path").bytes);
}

TEST_F(MainSettingsTest, StoredValuesApplyByTheirRules) {
  fs.AddFile("D:\\Bench\\Dorvik.exe", "MZ");
  store.SetText(kKey, "Dorvik_Path", "D:\\Bench\\Dorvik.exe");
  store.SetText(kKey, "Serial_Port", "3");
  store.SetText(kKey, "Serial_Baudrate", "abc");  // no number: stays 115200
  store.SetText(kKey, "Serial_Data", " 7");
  store.SetText(kKey, "Serial_Stopbits", "2");
  store.SetText(kKey, "Serial_Parity", "1x");
  store.SetText(kKey, "Output_Path", "G:\\없는\\result.txt");  // kept without a file
  store.SetText(kKey, "Dvt_Path", "E:\\dvt");
  ExchangeMainSettings(store, fs, settings, SettingsMode::kLoad);
  EXPECT_EQ("D:\\Bench\\Dorvik.exe", settings.toolPath);
  EXPECT_EQ(3, settings.port);
  EXPECT_EQ(115200, settings.baudRate);
  EXPECT_EQ(7, settings.dataBits);
  EXPECT_EQ(2, settings.stopBits);
  EXPECT_EQ(1, settings.parity);
  EXPECT_EQ("G:\\없는\\result.txt", settings.outputPath);
  EXPECT_EQ("E:\\dvt", settings.dvtPath);
}

TEST_F(MainSettingsTest, MissingToolIsNeitherTakenNorKept) {
  store.SetText(kKey, "Dorvik_Path", "D:\\Gone\\Dorvik.exe");
  fs.AddFile("D:\\Empty\\Dorvik.exe", "");
  ExchangeMainSettings(store, fs, settings, SettingsMode::kLoad);
  EXPECT_EQ("", settings.toolPath);

  settings.toolPath = "D:\\Empty\\Dorvik.exe";  // an empty file counts as missing
  ExchangeMainSettings(store, fs, settings, SettingsMode::kSave);
  EXPECT_EQ(StoredText(u""), Stored(store, "Dorvik_Path").bytes);
}

TEST(FallbackSettingsStore, RefusedMachineWritesGoToTheUser) {
  FakeSettingsStore machine;
  FakeSettingsStore user;
  FallbackSettingsStore store(machine, user);
  FakeFileSystem fs;
  fs.AddFile("C:\\Tools\\Dorvik.exe", "MZ");

  machine.refuseWrites = true;  // an operator without administrator rights
  MainSettings saved;
  saved.toolPath = "C:\\Tools\\Dorvik.exe";
  saved.baudRate = 57600;
  saved.dvtPath = "E:\\디브이티";
  ExchangeMainSettings(store, fs, saved, SettingsMode::kSave);
  EXPECT_TRUE(machine.writes.empty());
  EXPECT_EQ(8u, user.writes.size());

  MainSettings loaded;
  ExchangeMainSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ(saved.toolPath, loaded.toolPath);
  EXPECT_EQ(57600, loaded.baudRate);
  EXPECT_EQ(saved.dvtPath, loaded.dvtPath);
}

TEST(FallbackSettingsStore, MachineWriteRefreshesAnExistingUserCopy) {
  FakeSettingsStore machine;
  FakeSettingsStore user;
  FallbackSettingsStore store(machine, user);
  user.SetText(kKey, "Serial_Port", "4");
  machine.SetText(kKey, "Serial_Parity", "2");

  std::string text;
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Serial_Port", store).Load(&text));
  EXPECT_EQ("4", text);  // the per-user value wins
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Serial_Parity", store).Load(&text));
  EXPECT_EQ("2", text);

  const std::string five = "5";
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Serial_Port", store).Save(&five));
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Serial_Port", store).Load(&text));
  EXPECT_EQ("5", text);
  EXPECT_EQ(StoredText(u"5"), Stored(machine, "Serial_Port").bytes);

  // No per-user copy: none is made.
  ASSERT_EQ(1, RegistryValue(kValueText, kKey, "Serial_Parity", store).Save(&five));
  EXPECT_EQ(0u, user.values.count(FakeSettingsStore::Key(kKey, "Serial_Parity")));

  // A per-user copy that can no longer be refreshed would hide the write.
  user.refuseWrites = true;
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "Serial_Port", store).Save(&five));
  machine.refuseWrites = true;
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "Serial_Parity", store).Save(&five));
}

}  // namespace
