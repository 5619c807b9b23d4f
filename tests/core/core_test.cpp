#include <gtest/gtest.h>

#include "core/fallbackstore.h"
#include "core/mainsettings.h"
#include "core/options.h"
#include "core/paths.h"
#include "tests/support/fakes.h"

namespace {

TEST(Text, Utf8AndUtf16AgreeAtEveryBoundary) {
  const std::pair<std::string, std::u16string> wellFormed[] = {
      {"A\x7F", u"A\x7F"}, {"\xC2\x80", u"\u0080"}, {"\xDF\xBF", u"\u07FF"}, {"\xE0\xA0\x80", u"\u0800"},
      {"\xED\x9F\xBF", u"\uD7FF"}, {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\uFFFF\U0010FFFF"},
      {"\xF0\x90\x80\x80\xEE\x80\x80", u"\U00010000\uE000"}};
  for (const auto& [utf8, utf16] : wellFormed) EXPECT_TRUE(utf16 == Utf8ToUtf16(utf8) && utf8 == Utf16ToUtf8(utf16)) << utf8;
  // Overlong forms, beyond U+10FFFF, surrogates, stray and missing continuation bytes, a lead byte no character has.
  for (const char* bad : {"\xC0\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xED\xA0\x80",
                          "\xED\xBF\xBF", "\x80", "\xC2", "\xF8"})
    EXPECT_EQ(u"\uFFFD", Utf8ToUtf16(bad)) << bad;
  EXPECT_EQ(u"\uFFFDA", Utf8ToUtf16("\xE0\xA0" "A"));
  EXPECT_EQ(u"\uFFFD\uFFFD\uFFFD\uFFFD", Utf8ToUtf16("\xF8\x90\x80\x80"));  // no five-byte forms
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(fffd + fffd + "A" + fffd, Utf16ToUtf8({0xDFFF, 0xD800, 'A', 0xDBFF}));
  EXPECT_EQ("`AZ{@AZ[é", AsciiUpper("`az{@AZ[é"));
}

TEST(Paths, HelpersFollowTheLastDotRule) {
  const std::vector<std::string> cases[] = {  // path, drive, folder, file name
      {"C:\\img\\boot.old.bin", "C:", "C:\\img", "boot.old.BIN"}, {"C:\\out\\log.", "C:", "C:\\out", "log."},
      {"C:\\my.dir\\log", "C:", "C:", "my.DIR\\LOG"}, {"\\\\srv\\share\\a.bin", "", "\\\\srv\\share", "a.BIN"},
      {"C:\\다운로드\\이미지.é", "C:", "C:\\다운로드", "이미지.é"}, {"Dorvik", "", "", "Dorvik"}};
  for (const auto& c : cases) EXPECT_EQ(c, (std::vector<std::string>{c[0], GetPathDrive(c[0]), GetPathFolder(c[0]), GetPathFileName(c[0])}));
}

TEST(Timestamp, FormatsOfTheSystem) {
  EXPECT_EQ("[2011.03.15. 14:45:09]", FormatTime({2011, 3, 15, 14, 45, 9}, "[%Y.%m.%d. %H:%M:%S]"));
  EXPECT_EQ("AM00 PM12 AM11", FormatTime({2011, 1, 1, 0}, "%p%H ") + FormatTime({2011, 1, 1, 12}, "%p%H ") +
                                  FormatTime({2011, 1, 1, 11}, "%p%H"));
  EXPECT_EQ("0987 100% %q %", FormatTime({987}, "%Y 100%% %q %"));
}

struct FakeList : OptionList {
  void InsertString(int position, const std::string& text) override { rows.insert(rows.begin() + position, text); }
  void SetCurSel(int position) override { sel = position; }
  int GetCurSel() const override { return sel; }
  std::vector<std::string> rows;
  int sel = -1;
};

TEST(Options, CataloguesFillListsAndSelectByValue) {
  const std::pair<const OptionEntry*, int> catalogues[] = {
      {PortOptions, kPortOptionCount},         {BaudRateOptions, kBaudRateOptionCount},
      {DataBitsOptions, kDataBitsOptionCount}, {StopBitsOptions, kStopBitsOptionCount},
      {ParityOptions, kParityOptionCount},     {CommandOptions, GetCommandCount()}};
  std::string all;
  for (const auto& [rows, count] : catalogues) {
    FakeList list;
    SetupOptionCombo(list, rows, count, rows[count - 1].value);
    EXPECT_EQ(count - 1, list.sel);
    ASSERT_EQ(static_cast<size_t>(count), list.rows.size());
    for (int i = 0; i < count; ++i) all += list.rows[i] + "=" + std::to_string(rows[i].value) + ";";
    EXPECT_EQ(0, SelectOptionByValue(list, rows, count, rows[0].value));
  }
  // The six catalogues, texts and values, as the lists have always shown them.
  EXPECT_EQ(8583884888151908832u, Fingerprint(all)) << all;
}

const char* const kKey = "SOFTWARE\\Microsoft\\Quintor";

// Saves `value` with an accessor of `type`, checks the stored bytes and returns what a `U` loads
// back. An accessor of another type, 0 and 7 included, neither saves nor loads that kind.
template <typename U, typename T>
U RoundTrip(int32_t type, const T& value, const std::string& bytes) {
  FakeSettingsStore store;
  EXPECT_EQ(1, RegistryValue(type, kKey, "V", store).Save(&value));
  EXPECT_EQ(bytes, store.Bytes(kKey, "V"));
  U back{};
  for (int32_t other = 0; other <= 7; ++other) {
    if (other == type || (type >= kValuePair && other >= kValuePair && other <= kValuePairAlt)) continue;
    RegistryValue wrong(other, kKey, "V", store);
    EXPECT_EQ(0, wrong.Save(&value) + wrong.Load(&back)) << type << " as " << other;
  }
  EXPECT_EQ(1, RegistryValue(type, kKey, "V", store).Load(&back));
  store.refuseWrites = true;  // a refused write is no success
  EXPECT_EQ(0, RegistryValue(type, kKey, "V", store).Save(&value));
  return back;
}

TEST(RegistryValue, EachTypeSavesItsStoredFormAndLoadsItBack) {
  EXPECT_EQ("C:\\툴", RoundTrip<std::string>(kValueText, std::string("C:\\툴"), Utf16Bytes("C:\\툴")));
  EXPECT_EQ(0x11223344u, RoundTrip<uint32_t>(kValueRaw32, 0x11223344u, std::string("\x44\x33\x22\x11", 4)));
  EXPECT_TRUE(RoundTrip<bool>(kValueFlag, int32_t{7}, std::string("\1\0\0\0", 4)));
  EXPECT_FALSE(RoundTrip<bool>(kValueFlag, int32_t{0}, std::string(4, '\0')));
  const ValueRect r = RoundTrip<ValueRect>(kValueRect, ValueRect{-8, 20, 1032, 220}, Utf16Bytes("(-8,20,1040,200)"));
  const ValueRect w =
      RoundTrip<ValueRect>(kValueRect, ValueRect{INT32_MIN, 0, INT32_MAX, 0}, Utf16Bytes("(-2147483648,0,-1,0)"));
  const ValuePair p = RoundTrip<ValuePair>(kValuePairAlt, ValuePair{-3, 40}, Utf16Bytes("(-3,40)"));
  const ValuePair q = RoundTrip<ValuePair>(kValuePair, ValuePair{1, 2}, Utf16Bytes("(1,2)"));
  EXPECT_EQ((std::vector<int32_t>{-8, 20, 1032, 220, INT32_MIN, 0, INT32_MAX, 0, -3, 40, 1, 2}),
            (std::vector<int32_t>{r.left, r.top, r.right, r.bottom, w.left, w.top, w.right, w.bottom, p.first, p.second,
                                  q.first, q.second}));
  FakeSettingsStore store;  // a text holding a zero is refused whole
  const std::string withZero("a\0b", 3);
  EXPECT_EQ(0, RegistryValue(kValueText, kKey, "T", store).Save(&withZero));
}

// Texts load from the text kinds and from numbers; types 2 and 3 from up to four bytes of any kind.
TEST(RegistryValue, StoredKindsAsTextAndAsRawValue) {
  const std::string z(2, '\0');
  const std::tuple<uint32_t, std::string, const char*, int64_t> cases[] = {  // kind, bytes, text, raw; refused: nullptr, -1
      {kRegSz, Utf16Bytes("57600"), "57600", -1}, {kRegSz, Utf16Bytes("ab") + z + z, "ab", -1},
      {kRegSz, Utf16Bytes("ab") + Utf16Bytes("c", false), nullptr, -1}, {kRegSz, "abc", nullptr, 0x636261},
      {kRegExpandSz, Utf16Bytes("%TEMP%", false), "%TEMP%", -1}, {kRegMultiSz, Utf16Bytes("COM3") + z, "COM3", -1},
      {kRegMultiSz, Utf16Bytes("a") + Utf16Bytes("b") + z, nullptr, -1},
      {kRegDword, std::string("\x00\xE1\x00\x80", 4), "2147541248", 0x8000E100},
      {kRegDword, std::string("\x01\x02", 2), nullptr, 0x0201}, {11, std::string("\x05\0\0\0", 4), nullptr, 5},
      {11, std::string("\x00\xF2\x05\x2A\x01\x00\x00\x00", 8), "5000000000", -1}, {kRegBinary, "57600", nullptr, -1},
      {kRegBinary, "", "", 0}, {kRegNone, "", "", 0}};
  for (const auto& [kind, bytes, text, raw] : cases) {
    FakeSettingsStore store;
    store.values[FakeSettingsStore::Key(kKey, "V")] = SettingsStore::Value{kind, bytes};
    std::string textBack = "unchanged";
    uint32_t rawBack = 99;
    EXPECT_EQ(text ? 1 : 0, RegistryValue(kValueText, kKey, "V", store).Load(&textBack)) << kind;
    EXPECT_EQ(text ? text : "unchanged", textBack) << kind;
    EXPECT_EQ(raw >= 0 ? 1 : 0, RegistryValue(kValueRaw32, kKey, "V", store).Load(&rawBack)) << kind;
    EXPECT_EQ(raw >= 0 ? raw : 99, static_cast<int64_t>(rawBack)) << kind;
  }
}

TEST(RegistryValue, NumbersOfPairsRectanglesAndFields) {
  const std::pair<const char*, std::vector<int32_t>> stored[] = {
      {"(-8,-8,1040,780)", {-8, -8, 1040, 780}}, {"( 5 , 6 )", {5, 6}}, {"(1,2,3)", {2, 3}}, {"(9)", {0, 9}},
      {"abc", {0, 0}}, {"(5,)", {5, 0}}, {"(a1b2,x3y)", {12, 3}}, {"((4)),((5))", {4, 5}}, {"(--5,- 6)", {-5, 6}},
      {"(6-,7)", {6, 7}}, {"(6-)", {0, 6}}, {"-(5)", {0, -5}}, {"(2147483647,-2147483648)", {INT32_MAX, INT32_MIN}}};
  for (const auto& [text, expected] : stored) {
    std::vector<int32_t> slots(expected.size(), 12345);
    ParseStoredNumbers(text, slots.data(), static_cast<int>(slots.size()));
    EXPECT_EQ(expected, slots) << text;
  }
  const std::pair<const char*, std::optional<int32_t>> fields[] = {
      {"57600", 57600}, {" \t\n\v\f\r42", 42}, {"-3", -3}, {"+7", 7}, {"12abc", 12}, {"abc", {}}, {"", {}},
      {"-", {}}, {"+ 1", {}}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", {}},
      {"-2147483649", {}}, {"99999999999999999999", {}}, {"000000000000000000001", 1}};
  for (const auto& [text, expected] : fields) {
    int32_t value = -99;
    EXPECT_EQ(expected.has_value(), ScanDecimal(text, &value)) << text;
    EXPECT_EQ(expected.value_or(-99), value) << text;
  }
}

TEST(FallbackSettingsStore, UserCopyWinsAndIsKeptEqual) {
  FakeSettingsStore machine, user;
  FallbackSettingsStore store(machine, user);
  user.SetText(kKey, "Serial_Port", "4"), machine.SetText(kKey, "Serial_Port", "3");
  machine.SetText(kKey, "Serial_Parity", "2");
  std::string port, parity;
  RegistryValue(kValueText, kKey, "Serial_Port", store).Load(&port);
  RegistryValue(kValueText, kKey, "Serial_Parity", store).Load(&parity);
  EXPECT_EQ("4 2", port + " " + parity);
  const std::string five = "5";
  const auto save = [&](const char* name) { return RegistryValue(kValueText, kKey, name, store).Save(&five); };
  EXPECT_EQ(2, save("Serial_Port") + save("Serial_Parity"));
  EXPECT_EQ(machine.Bytes(kKey, "Serial_Port"), user.Bytes(kKey, "Serial_Port"));
  EXPECT_EQ(1u, user.writes.size());  // no per-user copy is made
  user.refuseWrites = true;            // a copy that cannot be refreshed would hide the write
  EXPECT_EQ(0, save("Serial_Port"));
  user.refuseWrites = false, machine.refuseWrites = true;  // an operator without administrator rights
  EXPECT_TRUE(save("Dvt_Path") == 1 && user.Bytes(kKey, "Dvt_Path") == Utf16Bytes("5"));
  user.refuseWrites = true;
  EXPECT_EQ(0, save("Dvt_Path"));
}

TEST(MainSettings, EightValuesByName) {
  const char* const names[] = {"Dorvik_Path",     "Serial_Port",   "Serial_Baudrate", "Serial_Data",
                               "Serial_Stopbits", "Serial_Parity", "Output_Path",     "Dvt_Path"};
  const auto expectStored = [&](const FakeSettingsStore& store, std::vector<std::string> texts) {
    EXPECT_EQ(std::vector<std::string>(names, names + 8), store.writes);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Utf16Bytes(texts[i]), store.Bytes(kKey, names[i])) << names[i];
  };
  FakeSettingsStore first, next;
  FakeFileSystem fs;
  MainSettings settings;
  ExchangeMainSettings(first, fs, settings, SettingsMode::kLoad), ExchangeMainSettings(first, fs, settings, SettingsMode::kSave);
  expectStored(first, {"", "1", "115200", "8", "0", "0", "", ""}), fs.AddFile("D:\\Dorvik.exe", "M");
  const char* const stored[] = {"D:\\Dorvik.exe", "3", "57600", " 7", "2", "1x", "G:\\없는\\r.txt", "E:\\dvt"};
  for (int i = 0; i < 8; ++i) first.SetText(kKey, names[i], stored[i]);
  ExchangeMainSettings(first, fs, settings, SettingsMode::kLoad), ExchangeMainSettings(next, fs, settings, SettingsMode::kSave);
  expectStored(next, {"D:\\Dorvik.exe", "3", "57600", "7", "2", "1", "G:\\없는\\r.txt", "E:\\dvt"});
  std::string folder;  // the DVT folder alone, as each window stores it when chosen
  EXPECT_TRUE(StoreDvtFolder(next, "E:\\새 폴더") && LoadDvtFolder(next, &folder) && folder == "E:\\새 폴더");
}

}  // namespace
