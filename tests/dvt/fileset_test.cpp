#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "dvt/dvtcatalogue.h"
#include "tests/support/fakes.h"

namespace {

std::vector<std::string> ExpectedSet() {
  std::ifstream file(std::string(QUINTOR_TEST_DATA_DIR) + "/file_set.txt", std::ios::binary);
  std::vector<std::string> names;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) names.push_back(line);
  }
  return names;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Remembers every path it was asked about.
class RecordingFileSystem : public FakeFileSystem {
 public:
  uint32_t FileSizeOrZero(const std::string& path) const override {
    asked.push_back(path);
    return FakeFileSystem::FileSizeOrZero(path);
  }
  mutable std::vector<std::string> asked;
};

std::vector<std::string> Names(const std::vector<DownloadRow>& rows) {
  std::vector<std::string> names;
  for (const DownloadRow& row : rows) names.push_back(row.fileName);
  return names;
}

TEST(DvtFileSet, IsTheCatalogueImagesInLowerCase) {
  const std::vector<std::string> expected = ExpectedSet();
  ASSERT_EQ(24u, expected.size());
  EXPECT_EQ(expected, std::vector<std::string>(DvtFileSet, DvtFileSet + kDvtFileSetCount));
  std::set<std::string> fromCatalogue;
  for (int i = 0; i < GetDvtTestCaseCount(); ++i) fromCatalogue.insert(Lower(DvtTestCatalogue[i].fileName));
  EXPECT_EQ(fromCatalogue, std::set<std::string>(expected.begin(), expected.end()));
}

TEST(DvtFileSet, FolderWithAllImagesGivesEveryRowInSetOrder) {
  FakeFileSystem fs;
  // On disk with the catalogue's capitals; found whatever their case.
  for (int i = 0; i < GetDvtTestCaseCount(); ++i) {
    fs.AddFile(std::string("E:\\dvt images\\") + DvtTestCatalogue[i].fileName, "image");
  }
  fs.AddFile("E:\\dvt images\\other.sdl", "image");
  const std::vector<DownloadRow> rows = FindDvtFileRows(fs, "E:\\dvt images");
  EXPECT_EQ(ExpectedSet(), Names(rows));
  for (const DownloadRow& row : rows) {
    EXPECT_EQ("E:\\dvt images", row.folder);
    EXPECT_FALSE(row.checked);
  }
}

TEST(DvtFileSet, OnlyPresentNonEmptyFilesWithoutGaps) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"two of them", {{"SEQX1000.SDL", "x"}, {"Dev002.sdl", "x"}}, {"dev002.sdl", "seqx1000.sdl"}},
      {"empty bbcb.bin left out", {{"bbcb.bin", ""}, {"mankey.dnl", "k"}}, {"mankey.dnl"}},
      {"none of them", {{"readme.txt", "x"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem fs;
    for (const auto& f : c.files) fs.AddFile("F:\\set\\" + f.first, f.second);
    EXPECT_EQ(c.expected, Names(FindDvtFileRows(fs, "F:\\set")));
  }
}

TEST(DvtFileSet, DriveRootIsUsedUnchanged) {
  RecordingFileSystem fs;
  fs.AddFile("D:\\\\bbcb.bin", "b");
  const std::vector<DownloadRow> rows = FindDvtFileRows(fs, "D:\\");
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ("D:\\", rows[0].folder);
  ASSERT_EQ(24u, fs.asked.size());
  EXPECT_EQ("D:\\\\bbcb.bin", fs.asked.front());
  EXPECT_EQ("D:\\\\seqx1000.sdl", fs.asked.back());
}

}  // namespace
