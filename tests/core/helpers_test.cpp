#include <gtest/gtest.h>

#include "core/options.h"
#include "core/paths.h"
#include "tests/support/fakes.h"

namespace {

TEST(Text, Utf8AndUtf16AgreeAtEveryBoundary) {
  const std::pair<std::string, std::u16string> wellFormed[] = {
      {"A\x7F", u"A\x7F"}, {"\xC2\x80", u"\u0080"}, {"\xDF\xBF", u"\u07FF"}, {"\xE0\xA0\x80", u"\u0800"},
      {"\xED\x9F\xBF", u"\uD7FF"}, {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\uFFFF\U0010FFFF"},
      {"\xF0\x90\x80\x80\xEE\x80\x80", u"\U00010000\uE000"}};
  for (const auto& [utf8, utf16] : wellFormed) {
    EXPECT_EQ(utf16, Utf8ToUtf16(utf8)) << utf8;
    EXPECT_EQ(utf8, Utf16ToUtf8(utf16)) << utf8;
  }
  // Overlong forms, beyond U+10FFFF, surrogates, stray and missing
  // continuation bytes, a lead byte no character has.
  for (const char* bad : {"\xC0\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xED\xA0\x80",
                          "\xED\xBF\xBF", "\x80", "\xC2", "\xF8"}) {
    EXPECT_EQ(u"\uFFFD", Utf8ToUtf16(bad)) << bad;
  }
  EXPECT_EQ(u"\uFFFDA", Utf8ToUtf16("\xE0\xA0" "A"));
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(fffd + fffd + "A" + fffd, Utf16ToUtf8({0xDFFF, 0xD800, 'A', 0xDBFF}));
  EXPECT_EQ("`AZ{@AZ[é", AsciiUpper("`az{@AZ[é"));
}

TEST(Paths, HelpersFollowTheLastDotRule) {
  const std::vector<std::string> cases[] = {  // path, drive, folder, file name
      {"C:\\img\\boot.old.bin", "C:", "C:\\img", "boot.old.BIN"}, {"C:\\out\\log.", "C:", "C:\\out", "log."},
      {"C:\\my.dir\\log", "C:", "C:", "my.DIR\\LOG"}, {"\\\\srv\\share\\a.bin", "", "\\\\srv\\share", "a.BIN"},
      {"C:\\다운로드\\이미지.é", "C:", "C:\\다운로드", "이미지.é"}, {"Dorvik", "", "", "Dorvik"}};
  for (const auto& c : cases) {
    EXPECT_EQ(c, (std::vector<std::string>{c[0], GetPathDrive(c[0]), GetPathFolder(c[0]), GetPathFileName(c[0])}));
  }
  EXPECT_EQ("", GetPathExtension("C:\\a\\b"));
  EXPECT_EQ("C:\\Program Files\\Quintor\\", GetModuleFolder(FakeEnvironment()));
  const char* const modules[][2] = {{"\\\\srv\\t/Quintor.exe", "\\\\srv\\t/"}, {"Quintor.exe", ".\\"}};
  for (const auto& c : modules) {
    FakeEnvironment env;
    env.exePath = c[0];
    EXPECT_EQ(c[1], GetModuleFolder(env));
  }
}

TEST(Timestamp, FormatsOfTheSystem) {
  EXPECT_EQ("[2011.03.15. 14:45:09]", FormatTime({2011, 3, 15, 14, 45, 9}, "[%Y.%m.%d. %H:%M:%S]"));
  EXPECT_EQ("AM00 PM12 AM11", FormatTime({2011, 1, 1, 0}, "%p%H ") + FormatTime({2011, 1, 1, 12}, "%p%H ") +
                                  FormatTime({2011, 1, 1, 11}, "%p%H"));
  EXPECT_EQ("0987 100% %q %", FormatTime({987}, "%Y 100%% %q %"));
}

class FakeList : public OptionList {
 public:
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
    EXPECT_EQ(count, SelectOptionByValue(list, rows, count, -5));  // no match changes nothing
    for (const int sel : {-1, 0, count - 1, count}) {
      list.sel = sel;
      const bool row = sel >= 0 && sel < count;
      EXPECT_EQ(row ? std::optional<int32_t>(rows[sel].value) : std::nullopt, SelectedOptionValue(list, rows, count));
    }
  }
  // The six catalogues, texts and values, as the lists have always shown them.
  EXPECT_EQ(8583884888151908832u, Fingerprint(all)) << all;
}

}  // namespace
