#include <gtest/gtest.h>

#include <algorithm>

#include "core/settings.h"
#include "platform/winservices.h"
#include "tests/win/runner/winsupport.h"

namespace {

// A key of the tests' own, never the program's.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { keyPath = "Software\\QuintorTests\\runner-" + std::to_string(GetCurrentProcessId()); }
  void TearDown() override {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      RegDeleteTreeW(root, Widen(keyPath).c_str());
      RegDeleteKeyW(root, L"Software\\QuintorTests");  // only when no other run's key is left
    }
  }
  void SetNarrow(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
  }
  void SetWide(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath).c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, Widen(name).c_str(), 0, type,
                                            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
  }
  std::string LoadText(SettingsStore& store, const std::string& name) {
    std::string text = "<none>";
    RegistryValue(kValueText, keyPath, name, store).Load(&text);
    return text;
  }

  std::string keyPath;
  WinRegistryStore user{RegistryRoot::kCurrentUser};
  WinRegistryStore machine{RegistryRoot::kLocalMachine};
};

TEST_F(RegistryTest, TextsRoundTripWhole) {
  for (const std::string& text : {std::string(), std::string("COM3"), std::string("D:\\한글 폴더\\Café.bin"),
                                  std::string(1023, 'a'), std::string(5000, 'b') + "끝"}) {
    ASSERT_EQ(1, RegistryValue(kValueText, keyPath, "Text", user).Save(&text));
    EXPECT_EQ(text, LoadText(user, "Text"));
  }
  EXPECT_EQ("<none>", LoadText(user, "Missing"));
  EXPECT_EQ("<none>", LoadText(machine, "Text"));  // no such key there
}

TEST_F(RegistryTest, StoredFormsAreTextValues) {
  const uint32_t raw = 0x00030201;
  const int32_t flag = -5;
  const ValuePair pair{7, -9};
  ASSERT_EQ(1, RegistryValue(kValueRaw32, keyPath, "Raw", user).Save(&raw));
  ASSERT_EQ(1, RegistryValue(kValueFlag, keyPath, "Flag", user).Save(&flag));
  ASSERT_EQ(1, RegistryValue(kValuePair, keyPath, "Pair", user).Save(&pair));
  for (const char* name : {"Raw", "Flag"}) {
    const std::optional<SettingsStore::Value> stored = user.Read(keyPath, name);
    ASSERT_TRUE(stored);
    EXPECT_EQ(static_cast<uint32_t>(REG_SZ), stored->type);
    EXPECT_EQ(4u, stored->bytes.size());
  }
  uint32_t rawBack = 0;
  bool flagBack = false;
  ValuePair pairBack;
  ASSERT_EQ(1, RegistryValue(kValueRaw32, keyPath, "Raw", user).Load(&rawBack));
  ASSERT_EQ(1, RegistryValue(kValueFlag, keyPath, "Flag", user).Load(&flagBack));
  ASSERT_EQ(1, RegistryValue(kValuePairAlt, keyPath, "Pair", user).Load(&pairBack));
  EXPECT_EQ(raw, rawBack);
  EXPECT_TRUE(flagBack);
  EXPECT_EQ(7, pairBack.first);
  EXPECT_EQ(-9, pairBack.second);
  EXPECT_EQ("(7,-9)", LoadText(user, "Pair"));
}

// Settings written by a program using the narrow functions, with or without a
// terminating zero, read back as the same characters.
TEST_F(RegistryTest, ValuesOfANarrowWriterReadTheSame) {
  std::wstring sample;
  for (const wchar_t* candidate : {L"Caf\u00e9 \u00e9t\u00e9", L"\ud55c\uae00 \ud3f4\ub354", L"plain"}) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, candidate, -1, nullptr, 0, nullptr, &lossy);
    if (n > 0 && !lossy) {
      sample = candidate;
      break;
    }
  }
  const std::wstring path = L"D:\\" + sample + L"\\Dorvik.exe";
  const int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &narrow[0], n, nullptr, nullptr);

  SetNarrow("NoZero", REG_SZ, narrow);
  SetNarrow("WithZero", REG_SZ, narrow + std::string(1, '\0'));
  EXPECT_EQ(Narrow(path), LoadText(user, "NoZero"));
  EXPECT_EQ(Narrow(path), LoadText(user, "WithZero"));
}

TEST_F(RegistryTest, OtherKindsReadAsText) {
  const DWORD baud = 57600;
  SetWide("Dword", REG_DWORD, std::string(reinterpret_cast<const char*>(&baud), 4));
  SetWide("Binary", REG_BINARY, "abc");
  const std::wstring multi = std::wstring(L"COM3") + L'\0' + L'\0';
  SetWide("Multi", REG_MULTI_SZ, std::string(reinterpret_cast<const char*>(multi.data()), multi.size() * 2));
  EXPECT_EQ("57600", LoadText(user, "Dword"));
  EXPECT_EQ("<none>", LoadText(user, "Binary"));
  EXPECT_EQ("COM3", LoadText(user, "Multi"));
}

class FileSystemTest : public ::testing::Test {
 protected:
  std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

  ScratchFolder scratch;
  WinFileSystem fs;
};

TEST_F(FileSystemTest, WriteReplacesWholeAndLeavesNothingElse) {
  const std::string file = scratch.Path() + "\\스크립트 é.bat";
  ASSERT_TRUE(fs.WriteFileBytes(file, "first, longer content\r\n"));
  ASSERT_TRUE(fs.WriteFileBytes(file, "second\r\n"));
  EXPECT_EQ("second\r\n", ReadFileText(file));
  ASSERT_TRUE(fs.WriteFileBytes(file, ""));
  EXPECT_EQ(0u, fs.FileSizeOrZero(file));
  EXPECT_EQ(std::vector<std::string>{"스크립트 é.bat"}, Entries(scratch.Path()));
}

TEST_F(FileSystemTest, RefusedWritesKeepTheOldFile) {
  EXPECT_FALSE(fs.WriteFileBytes(scratch.Path() + "\\missing\\x.txt", "x"));

  const std::string folder = scratch.Make("a folder");
  EXPECT_FALSE(fs.WriteFileBytes(folder, "x"));
  EXPECT_TRUE(fs.FolderExists(folder));

  const std::string readOnly = scratch.Path() + "\\ro.txt";
  ASSERT_TRUE(WriteFileText(readOnly, "keep"));
  SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(fs.WriteFileBytes(readOnly, "lost"));
  EXPECT_EQ("keep", ReadFileText(readOnly));

  std::vector<std::string> expected = {"a folder", "ro.txt"};
  std::vector<std::string> entries = Entries(scratch.Path());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(expected, entries);
}

TEST_F(FileSystemTest, SizesFoldersAndCopies) {
  const std::string file = scratch.Path() + "\\한글.bin";
  EXPECT_EQ(0u, fs.FileSizeOrZero(file));
  ASSERT_TRUE(WriteFileText(file, "12345"));
  EXPECT_EQ(5u, fs.FileSizeOrZero(file));
  EXPECT_EQ(0u, fs.FileSizeOrZero(scratch.Path()));
  EXPECT_EQ(0u, fs.FileSizeOrZero(""));

  const std::string folder = scratch.Path() + "\\새 폴더";
  EXPECT_FALSE(fs.FolderExists(folder));
  EXPECT_TRUE(fs.CreateFolder(folder));
  EXPECT_FALSE(fs.CreateFolder(folder));
  EXPECT_TRUE(fs.FolderExists(folder));

  ASSERT_TRUE(WriteFileText(folder + "\\copy.bin", "old and longer"));
  EXPECT_TRUE(fs.CopyFileOver(file, folder + "\\copy.bin"));
  EXPECT_EQ("12345", ReadFileText(folder + "\\copy.bin"));
  EXPECT_FALSE(fs.CopyFileOver(scratch.Path() + "\\none", folder + "\\x"));
}

TEST(WinEnvironment, FoldersAndBatchEncoding) {
  WinEnvironment env;
  const std::string exe = env.ExecutablePath();
  EXPECT_NE(std::string::npos, exe.find("wintests_runner"));
  const std::string user = env.UserDataFolder();
  ASSERT_GE(user.size(), 9u);
  EXPECT_EQ("\\Quintor\\", user.substr(user.size() - 9));

  EXPECT_EQ(std::optional<std::string>("cd \"C:\\a b\" & x"), env.EncodeForBatch("cd \"C:\\a b\" & x"));
  // Whatever the code page, what is written reads back as the same text.
  const UINT codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
  for (const char* text : {"Café", "한글", "Ω≈", "\xF0\x9F\x98\x80"}) {
    const std::optional<std::string> bytes = env.EncodeForBatch(text);
    if (!bytes) continue;
    const int n = MultiByteToWideChar(codePage, 0, bytes->data(), static_cast<int>(bytes->size()), nullptr, 0);
    std::wstring back(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes->data(), static_cast<int>(bytes->size()), &back[0], n);
    EXPECT_EQ(Widen(text), back) << text;
  }
  if (codePage != CP_UTF8) {
    EXPECT_FALSE(env.EncodeForBatch("\xF0\x9F\x98\x80"));  // no code page but UTF-8 has it
  }
}

TEST(WinProcessLauncher, ProgramsThatCannotStartReportFalse) {
  WinProcessLauncher launcher;
  ScratchFolder scratch;
  EXPECT_FALSE(launcher.RunAndWait("\"" + scratch.Path() + "\\no such tool.exe\" -x", ""));
  EXPECT_FALSE(launcher.StartDetached("\"" + scratch.Path() + "\\no such viewer.exe\""));
  EXPECT_FALSE(launcher.RunAndWait("", ""));
}

}  // namespace
