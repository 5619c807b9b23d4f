// DVT runs through the real command interpreter and the stand-in tool, and
// the DVT image set on the real file system.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dvt/dvtcatalogue.h"
#include "dvt/dvtrun.h"
#include "platform/winservices.h"
#include "tests/win/runner/winsupport.h"

namespace {

// The stand-in's arguments ("argN=value" lines), the program name left out.
std::vector<std::string> RecordedArguments(const std::string& recordPath) {
  std::map<std::string, std::string> record;
  const std::string text = ReadFileText(recordPath);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) record[line.substr(0, eq)] = line.substr(eq + 1);
  }
  std::vector<std::string> args;
  if (record.count("argc") == 0) return args;
  for (int i = 1; i < std::stoi(record["argc"]); ++i) args.push_back(record["arg" + std::to_string(i)]);
  return args;
}

TEST(DvtRealRun, ToolReceivesTheCaseImageAsOneArgument) {
  ScratchFolder scratch;
  const std::string programFolder = scratch.Make("program") + "\\";
  ScratchEnvironment env(programFolder, scratch.Make("user") + "\\");
  WinFileSystem fs;
  WinProcessLauncher launcher;
  RunServices services{fs, launcher, env};
  const std::string recordPath = scratch.Path() + "\\record.txt";
  ScopedEnv record("DORVIK_RECORD", recordPath);
  ScopedEnv runLog("DORVIK_RUNLOG", scratch.Path() + "\\runs.txt");

  const std::string tool = scratch.Make("Bench & Tools") + "\\Dorvik.exe";
  ASSERT_TRUE(CopyInto(StandinPath("Dorvik.exe"), tool));
  const std::vector<std::string> serial = {"-c", "2", "-b", "6", "-n", "7", "-s", "1", "-p", "2"};

  struct Case {
    std::string folder;
    int number;
    std::vector<std::string> tail;  // after the serial pieces
  };
  const std::string odd = scratch.Path() + "\\DVT 100% (R&D)";
  const Case cases[] = {
      {odd, 1, {odd + "\\Dev002.sdl", "-d"}},
      {odd, 0, {"-cmd", "irdeto_dev_program", "-arg0", odd + "\\bbcb.bin", "-d"}},
      {"Z:\\", 29, {"Z:\\\\Seqx1000.sdl", "-d"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + " case " + std::to_string(c.number));
    DvtRunInputs in;
    in.toolPath = tool;
    in.portIndex = 1;
    in.baudIndex = 6;
    in.dataIndex = 2;
    in.stopIndex = 1;
    in.parityIndex = 2;
    in.dvtPath = c.folder;
    in.currentCase = c.number;
    DeleteFileW(Widen(recordPath).c_str());
    ASSERT_TRUE(RunDvtTest(services, in, LocalTime{2011, 3, 7, 14, 5, 0}));
    EXPECT_EQ(ComposeDvtScript(in, LocalTime{2011, 3, 7, 14, 5, 0}), ReadFileText(programFolder + "run_Dvttest.bat"));
    std::vector<std::string> expected = serial;
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(expected, RecordedArguments(recordPath));
  }
}

TEST(DvtRealFiles, SetIsFoundWhateverTheCaseOnDisk) {
  ScratchFolder scratch;
  const std::string folder = scratch.Make("dvt images");
  ASSERT_TRUE(WriteFileText(folder + "\\Dev002.sdl", "image"));
  ASSERT_TRUE(WriteFileText(folder + "\\SEQX1000.SDL", "image"));
  ASSERT_TRUE(WriteFileText(folder + "\\bbcb.bin", ""));
  WinFileSystem fs;
  const std::vector<DownloadRow> rows = FindDvtFileRows(fs, folder);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ("dev002.sdl", rows[0].fileName);
  EXPECT_EQ("seqx1000.sdl", rows[1].fileName);
  EXPECT_EQ(folder, rows[1].folder);
}

}  // namespace
