#include <gtest/gtest.h>

#include "core/paths.h"
#include "dvt/dvtcatalogue.h"
#include "dvt/dvtrun.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"

namespace {

// COM1, 115200, 8 bit, stop code 0, parity code 0, as on a typical bench.
DvtRunInputs Reference(int32_t currentCase, const std::string& dvtPath = "D:\\DVT") {
  return DvtRunInputs{"C:\\Tools\\Dorvik.exe", 0, 7, 3, 0, 0, dvtPath, currentCase};
}

TEST(DvtCatalogue, CaseViewsCommandLinesAndSteps) {
  std::string all;
  for (int i = 0; i < GetDvtTestCaseCount(); ++i) {
    const DvtCaseView v = ComposeCaseView(i).value();
    all += v.title + v.fileName + v.typicalError + v.description + v.serialResult + v.otaResult + v.initiation +
           v.additional + BuildDvtCommandLine(Reference(i)) + "\n";
    EXPECT_EQ((i + 1) % 30, NextDvtCase(i));
    EXPECT_EQ((i + 29) % 30, PreviousDvtCase(i));
  }
  // The 30 cases as the window has always shown them.
  EXPECT_EQ(9354363714583173359u, Fingerprint(all)) << all;
  for (const int outside : {-1, 30}) EXPECT_FALSE(ComposeCaseView(outside).has_value());
}

// The catalogue's images in a fixed order, whatever their case on disk; the folder is used as given.
TEST(DvtFileSet, ImagesFoundInSetOrder) {
  FakeFileSystem fs;
  for (const DvtTestCase& c : DvtTestCatalogue) fs.AddFile(std::string("D:\\\\") + c.fileName, "x");
  fs.AddFile("D:\\\\other.sdl", "image");
  std::string names;
  for (const DownloadRow& row : FindDvtFileRows(fs, "D:\\")) names += (row.checked ? "!" : "") + row.folder + row.fileName + " ";
  EXPECT_EQ(6775039696405978196u, Fingerprint(names)) << names;
  fs.AddFile("D:\\\\bbcb.bin", "");  // an empty file is left out
  EXPECT_EQ(23u, FindDvtFileRows(fs, "D:\\").size());
}

TEST(DvtRun, RunsTheCaseOnlyWithACommandLine) {
  FakeServices s;
  const std::string script = GetModuleFolder(s.env) + "run_Dvttest.bat";
  s.fs.AddFile("C:\\Tools\\Dorvik.exe", "MZ");
  const DvtRunInputs noTool{"", 0, 7, 3, 0, 0, "D:\\DVT", 1};
  for (const DvtRunInputs& in : {Reference(30), Reference(-1), noTool, Reference(1, ""), Reference(1, "D:\\a\"b")})
    EXPECT_FALSE(RunDvtTest(s.services, in, s.clock.now));
  ASSERT_TRUE(RunDvtTest(s.services, Reference(1), s.clock.now));
  EXPECT_EQ("REM 2011.03.15. 14:45\r\nC:\r\ncd C:\\Tools\r\n"
            "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1\r\n", s.fs.Content(script));
  EXPECT_EQ(ScriptStartCommand(script) + " >  waited", s.launcher.calls.back());  // not captured
  // Positions outside their catalogues leave their pieces off.
  EXPECT_EQ("Dorvik.EXE D:\\DVT\\Dev002.sdl -d ", BuildDvtCommandLine({"C:\\Dorvik.exe", 9, -1, 4, 3, -1, "D:\\DVT", 1}));
}

}  // namespace
