#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dvt/dvtrun.h"
#include "invocation/argument.h"
#include "invocation/script.h"
#include "tests/dvt/golden.h"
#include "tests/support/fakes.h"
#include "tests/support/cmdline.h"

namespace {

// COM1, 115200, 8 bit, stop code 0, parity code 0, tool and DVT folder as on
// a typical bench.
DvtRunInputs Reference(int currentCase) {
  DvtRunInputs in;
  in.toolPath = "C:\\Tools\\Dorvik\\Dorvik.exe";
  in.portIndex = 0;
  in.baudIndex = 7;
  in.dataIndex = 3;
  in.stopIndex = 0;
  in.parityIndex = 0;
  in.dvtPath = "D:\\DVT";
  in.currentCase = currentCase;
  return in;
}

LocalTime PressedAt() {
  LocalTime t;
  t.year = 2011;
  t.month = 3;
  t.day = 7;
  t.hour = 14;
  t.minute = 5;
  t.second = 42;
  return t;
}

struct Bench {
  Bench() { fs.AddFile("C:\\Tools\\Dorvik\\Dorvik.exe", "MZ"); }
  FakeFileSystem fs;
  FakeLauncher launcher;
  FakeEnvironment env;
  RunServices services{fs, launcher, env};
  std::string ProgramScript() const { return "C:\\Program Files\\Quintor\\run_Dvttest.bat"; }
};

TEST(DvtRun, ScriptsOfCases0And1) {
  struct Case {
    int number;
    const char* script;
  };
  const Case cases[] = {
      {0,
       "REM 2011.03.07. 14:05\r\nC:\r\ncd C:\\Tools\\Dorvik\r\n"
       "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -cmd irdeto_dev_program -arg0 D:\\DVT\\bbcb.bin -d 2>&1\r\n"},
      {1,
       "REM 2011.03.07. 14:05\r\nC:\r\ncd C:\\Tools\\Dorvik\r\n"
       "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    Bench bench;
    EXPECT_EQ(c.script, ComposeDvtScript(Reference(c.number), PressedAt()));
    ASSERT_TRUE(RunDvtTest(bench.services, Reference(c.number), PressedAt()));
    EXPECT_EQ(c.script, bench.fs.Content(bench.ProgramScript()));
    ASSERT_EQ(1u, bench.launcher.calls.size());
    EXPECT_EQ(ScriptStartCommand(bench.ProgramScript()), bench.launcher.calls[0].commandLine);
    EXPECT_EQ("", bench.launcher.calls[0].capturePath);
    EXPECT_TRUE(bench.launcher.calls[0].waited);
  }
}

TEST(DvtRun, DriveAndFolderLinesFollowTheTool) {
  struct Case {
    const char* tool;
    const char* lines23;  // the drive line and the cd line
    const char* toolName;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Dorvik\\Dorvik.exe", "C:\r\ncd \"C:\\Program Files\\Dorvik\"\r\n", "Dorvik.EXE"},
      {"E:\\Dorvik.exe", "E:\r\ncd E:\\\r\n", "Dorvik.EXE"},
      {"E:\\50%\\My Dorvik.exe", "E:\r\ncd \"E:\\50%%\"\r\n", "\"My Dorvik.EXE\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool);
    DvtRunInputs in = Reference(1);
    in.toolPath = c.tool;
    EXPECT_EQ(std::string("REM 2011.03.07. 14:05\r\n") + c.lines23 + c.toolName +
                  " -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1\r\n",
              ComposeDvtScript(in, PressedAt()));
  }
  // cmd cannot make a network folder current: pushd maps it, popd frees it.
  DvtRunInputs in = Reference(1);
  in.toolPath = "\\\\bench\\tools\\Dorvik.exe";
  EXPECT_EQ("REM 2011.03.07. 14:05\r\npushd \\\\bench\\tools\r\n"
            "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1\r\npopd\r\n",
            ComposeDvtScript(in, PressedAt()));
}

TEST(DvtRun, CommandLineOfEveryCaseMatchesGolden) {
  const std::vector<GoldenCase> golden = ReadGoldenCases();
  ASSERT_EQ(30u, golden.size());
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(golden[i].at("command"), BuildDvtCommandLine(Reference(i))) << "case " << i;
  }
}

TEST(DvtRun, ImagePathIsOneUnchangedArgument) {
  struct Case {
    const char* folder;
    const char* onLine;  // the image as written on the command line
  };
  const Case cases[] = {
      {"D:\\", "D:\\\\Dev002.sdl"},  // drive root: used as given
      {"D:\\My DVT", "\"D:\\My DVT\\Dev002.sdl\""},
      {"D:\\R&D (new)", "\"D:\\R&D (new)\\Dev002.sdl\""},
      {"D:\\100%", "\"D:\\100%\\Dev002.sdl\""},
      {"D:\\시험", "\"D:\\시험\\Dev002.sdl\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    DvtRunInputs in = Reference(1);
    in.dvtPath = c.folder;
    const std::string line = BuildDvtCommandLine(in);
    EXPECT_EQ(std::string("Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 ") + c.onLine + " -d ", line);
    const std::vector<std::string> args = SplitWindowsCommandLine(line);
    ASSERT_EQ(13u, args.size());
    EXPECT_EQ(std::string(c.folder) + "\\Dev002.sdl", args[11]);
    // cmd halves every '%' of a script line.
    const std::string script = ComposeDvtScript(in, PressedAt());
    EXPECT_NE(std::string::npos, script.find(EscapeBatchPercent(line) + "2>&1\r\n"));
  }
  DvtRunInputs in = Reference(0);
  in.dvtPath = "D:\\";
  EXPECT_EQ("D:\\\\bbcb.bin", SplitWindowsCommandLine(BuildDvtCommandLine(in)).at(14));
}

TEST(DvtRun, PositionOutsideItsCatalogueLeavesItsPieceOff) {
  struct Case {
    const char* name;
    int32_t DvtRunInputs::*position;
    int32_t value;
    const char* line;
  };
  const Case cases[] = {
      {"port", &DvtRunInputs::portIndex, -1, "Dorvik.EXE -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"port past end", &DvtRunInputs::portIndex, 9, "Dorvik.EXE -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"baud", &DvtRunInputs::baudIndex, -1, "Dorvik.EXE -c 1 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"baud past end", &DvtRunInputs::baudIndex, 8, "Dorvik.EXE -c 1 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"data", &DvtRunInputs::dataIndex, -1, "Dorvik.EXE -c 1 -b 7 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"stop", &DvtRunInputs::stopIndex, -1, "Dorvik.EXE -c 1 -b 7 -n 8 -p 0 D:\\DVT\\Dev002.sdl -d "},
      {"parity", &DvtRunInputs::parityIndex, -1, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 D:\\DVT\\Dev002.sdl -d "},
      {"parity past end", &DvtRunInputs::parityIndex, 3, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 D:\\DVT\\Dev002.sdl -d "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DvtRunInputs in = Reference(1);
    in.*c.position = c.value;
    EXPECT_EQ(c.line, BuildDvtCommandLine(in));
  }
  DvtRunInputs other = Reference(1);
  other.portIndex = 8;
  other.baudIndex = 0;
  other.dataIndex = 0;
  other.stopIndex = 1;
  other.parityIndex = 2;
  EXPECT_EQ("Dorvik.EXE -c 9 -b 0 -n 5 -s 1 -p 2 D:\\DVT\\Dev002.sdl -d ", BuildDvtCommandLine(other));
}

TEST(DvtRun, NothingWrittenOrStartedWithoutACommandLine) {
  struct Case {
    const char* name;
    void (*change)(DvtRunInputs&);
  };
  const Case cases[] = {
      {"empty tool path", [](DvtRunInputs& in) { in.toolPath.clear(); }},
      {"empty DVT folder", [](DvtRunInputs& in) { in.dvtPath.clear(); }},
      {"case past the end", [](DvtRunInputs& in) { in.currentCase = 30; }},
      {"negative case", [](DvtRunInputs& in) { in.currentCase = -1; }},
      {"quote in the DVT folder", [](DvtRunInputs& in) { in.dvtPath = "D:\\a\"b"; }},
      {"line break in the DVT folder", [](DvtRunInputs& in) { in.dvtPath = "D:\\a\r\nb"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench;
    bench.fs.AddFile(bench.ProgramScript(), "older script");
    DvtRunInputs in = Reference(1);
    c.change(in);
    EXPECT_EQ("", BuildDvtCommandLine(in));
    EXPECT_EQ("", ComposeDvtScript(in, PressedAt()));
    EXPECT_FALSE(RunDvtTest(bench.services, in, PressedAt()));
    EXPECT_EQ("older script", bench.fs.Content(bench.ProgramScript()));
    EXPECT_EQ(2u, bench.fs.files.size());  // the tool and the older script
    EXPECT_TRUE(bench.launcher.calls.empty());
  }
}

TEST(DvtRun, NothingWrittenWhenCmdCannotReadTheScript) {
  Bench bench;
  bench.env.asciiBatchOnly = true;
  DvtRunInputs in = Reference(1);
  in.dvtPath = "D:\\시험";
  EXPECT_FALSE(RunDvtTest(bench.services, in, PressedAt()));
  EXPECT_FALSE(bench.fs.Has(bench.ProgramScript()));
  EXPECT_TRUE(bench.launcher.calls.empty());
}

TEST(DvtRun, ReportsARunOnlyWhenTheScriptStarted) {
  Bench refused;
  refused.fs.refused = {"C:\\Program Files\\Quintor\\", refused.env.userFolder};
  EXPECT_FALSE(RunDvtTest(refused.services, Reference(1), PressedAt()));
  EXPECT_TRUE(refused.launcher.calls.empty());

  Bench notStarted;
  notStarted.launcher.startable = false;
  EXPECT_FALSE(RunDvtTest(notStarted.services, Reference(1), PressedAt()));
  EXPECT_EQ(1u, notStarted.launcher.calls.size());

  Bench userFolder;
  userFolder.fs.refused = {"C:\\Program Files\\Quintor\\"};
  EXPECT_TRUE(RunDvtTest(userFolder.services, Reference(1), PressedAt()));
  const std::string userScript = userFolder.env.userFolder + "run_Dvttest.bat";
  EXPECT_TRUE(userFolder.fs.Has(userScript));
  ASSERT_EQ(1u, userFolder.launcher.calls.size());
  EXPECT_EQ(ScriptStartCommand(userScript), userFolder.launcher.calls[0].commandLine);
}

}  // namespace

TEST(DvtRun, AToolThatHasGoneStartsNothing) {
  Bench bench;
  bench.fs.files.clear();
  EXPECT_FALSE(RunDvtTest(bench.services, Reference(1), PressedAt()));
  EXPECT_TRUE(bench.launcher.calls.empty());
}
