#include <gtest/gtest.h>

#include "core/paths.h"
#include "tests/support/fakes.h"

namespace {

struct PathCase {
  const char* path;
  const char* drive;
  const char* folder;
  const char* base;
  const char* ext;
  const char* file;
};

TEST(Paths, HelpersFollowTheLastDotRule) {
  const PathCase cases[] = {
      {"C:\\Tools\\Dorvik.exe", "C:", "C:\\Tools", "Dorvik", "EXE", "Dorvik.EXE"},
      {"C:\\img\\boot.old.bin", "C:", "C:\\img", "boot.old", "BIN", "boot.old.BIN"},
      {"D:\\out\\Result.txt", "D:", "D:\\out", "Result", "TXT", "Result.TXT"},
      {"C:\\out\\log.", "C:", "C:\\out", "log", "", "log."},
      {"C:\\out\\log", "C:", "C:\\out", "log", "", "log"},
      {"C:\\my.dir\\log", "C:", "C:", "my", "DIR\\LOG", "my.DIR\\LOG"},
      {"C:\\Dorvik.exe", "C:", "C:", "Dorvik", "EXE", "Dorvik.EXE"},
      {"\\\\server\\share\\img\\a.bin", "", "\\\\server\\share\\img", "a", "BIN", "a.BIN"},
      {"E:\\load\\image", "E:", "E:\\load", "image", "", "image"},
      // Multi-byte characters stay whole; only a-z are upper-cased.
      {"C:\\다운로드\\이미지.bin", "C:", "C:\\다운로드", "이미지", "BIN", "이미지.BIN"},
      {"C:\\Ärger\\café.dnl", "C:", "C:\\Ärger", "café", "DNL", "café.DNL"},
      {"C:\\x\\a.é", "C:", "C:\\x", "a", "é", "a.é"},
      // A bare name: no drive and no folder.
      {"Dorvik.exe", "", "", "Dorvik", "EXE", "Dorvik.EXE"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.drive, GetPathDrive(c.path));
    EXPECT_EQ(c.folder, GetPathFolder(c.path));
    EXPECT_EQ(c.base, GetPathBaseName(c.path));
    EXPECT_EQ(c.ext, GetPathExtension(c.path));
    EXPECT_EQ(c.file, GetPathFileName(c.path));
  }
}

TEST(Paths, FolderAndFileNameRejoinToThePathApartFromCase) {
  for (const char* p : {"C:\\my.dir\\log", "C:\\img\\boot.old.bin", "C:\\out\\log.", "D:\\a\\b\\c.d"}) {
    EXPECT_EQ(AsciiUpper(p), AsciiUpper(GetPathFolder(p) + "\\" + GetPathFileName(p))) << p;
  }
}

TEST(Paths, ModuleFolderEndsWithBackslash) {
  FakeEnvironment env;
  EXPECT_EQ("C:\\Program Files\\Quintor\\", GetModuleFolder(env));
  env.exePath = "\\\\srv\\tools\\Quintor.exe";
  EXPECT_EQ("\\\\srv\\tools\\", GetModuleFolder(env));
  env.exePath = "C:\\Quintor.exe";
  EXPECT_EQ("C:\\", GetModuleFolder(env));
}

TEST(Paths, FileSizeOrZeroTreatsEmptyFilesAndFoldersAsMissing) {
  FakeFileSystem fs;
  fs.AddFile("C:\\a\\one.bin", "x");
  fs.AddFile("C:\\a\\empty.bin", "");
  fs.AddFolder("C:\\a\\sub");
  EXPECT_EQ(1u, GetFileSizeOrZero(fs, "C:\\a\\one.bin"));
  EXPECT_EQ(0u, GetFileSizeOrZero(fs, "C:\\a\\empty.bin"));
  EXPECT_EQ(0u, GetFileSizeOrZero(fs, "C:\\a\\sub"));
  EXPECT_EQ(0u, GetFileSizeOrZero(fs, "C:\\a\\missing.bin"));
}

}  // namespace
