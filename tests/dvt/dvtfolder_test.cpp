#include <gtest/gtest.h>

#include <string>

#include "core/mainsettings.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

namespace {

TEST(DvtFolder, LatestChoiceInEitherPlaceIsWhatStaysStored) {
  FakeSettingsStore store;
  FakeFileSystem fs;
  store.SetText(kSettingsKeyPath, "Dvt_Path", "D:\\old");

  MainSettings main;
  ExchangeMainSettings(store, fs, main, SettingsMode::kLoad);
  ASSERT_EQ("D:\\old", main.dvtPath);

  // The DVT Test window opens, shows the stored folder and stores a new one.
  std::string windowFolder;
  ASSERT_TRUE(LoadDvtFolder(store, &windowFolder));
  EXPECT_EQ("D:\\old", windowFolder);
  ASSERT_TRUE(StoreDvtFolder(store, "E:\\새 폴더"));

  // The main window takes the stored folder back when that window closes, so
  // its write at exit keeps the choice.
  ASSERT_TRUE(LoadDvtFolder(store, &main.dvtPath));
  ExchangeMainSettings(store, fs, main, SettingsMode::kSave);
  std::string stored;
  ASSERT_TRUE(LoadDvtFolder(store, &stored));
  EXPECT_EQ("E:\\새 폴더", stored);

  // "Dvt Test File Insert" stores its choice at once; the window starts there.
  ASSERT_TRUE(StoreDvtFolder(store, "F:\\set"));
  ASSERT_TRUE(LoadDvtFolder(store, &windowFolder));
  EXPECT_EQ("F:\\set", windowFolder);
}

TEST(DvtFolder, MissingOrRefusedValueChangesNothing) {
  FakeSettingsStore store;
  std::string folder = "D:\\kept";
  EXPECT_FALSE(LoadDvtFolder(store, &folder));
  EXPECT_EQ("D:\\kept", folder);
  store.refuseWrites = true;
  EXPECT_FALSE(StoreDvtFolder(store, "E:\\new"));
  EXPECT_FALSE(LoadDvtFolder(store, &folder));
  EXPECT_EQ("D:\\kept", folder);
}

}  // namespace
