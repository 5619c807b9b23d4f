#include <gtest/gtest.h>
#include <windows.h>

#include "bbcb/bbcbjob.h"
#include "core/settings.h"
#include "platform/winservices.h"
#include "platform/wide.h"

// Text values are stored with their terminating zero counted; values stored
// before, without one, load whole.
TEST(StoredForms, TextValuesCountTheirTerminatorAndLoadWithoutOne) {
  const std::string key = "Software\\QuintorTests\\forms-" + std::to_string(GetCurrentProcessId());
  WinRegistryStore store(RegistryRoot::kCurrentUser);
  for (const std::string text : {"", "1", "115200", "D:\\한글\\x.exe"}) {
    const std::wstring wide = Widen(text);
    const std::string bytes(reinterpret_cast<const char*>(wide.c_str()), wide.size() * 2);
    ASSERT_EQ(1, RegistryValue(kValueText, key, "New", store).Save(&text));
    EXPECT_EQ(bytes + std::string(2, '\0'), store.Read(key, "New")->bytes) << text;
    ASSERT_TRUE(store.Write(key, "Old", bytes));
    EXPECT_EQ(bytes, store.Read(key, "Old")->bytes) << text;
    std::string loaded = "<none>";
    RegistryValue(kValueText, key, "Old", store).Load(&loaded);
    EXPECT_EQ(text, loaded);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuintorTests");  // only when no other run's key is left
}

TEST(StoredForms, ReadMeInTheWesternCodePageOrMarkedUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "the cases are for code page 1252";
  const char* const cases[][2] = {{"-sn 0A \r\n", "-sn 0A \r\n"}, {"Café", "Caf\xE9"},
                                  {"한국", "\xEF\xBB\xBF한국"}, {"Ω≈", "\xEF\xBB\xBFΩ≈"}};  // no best fit
  for (const auto& c : cases) EXPECT_EQ(c[1], EncodeBbcbReadMe(WinEnvironment(), c[0])) << c[0];
}
