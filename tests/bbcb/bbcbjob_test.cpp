#include <gtest/gtest.h>

#include "bbcb/bbcbjob.h"
#include "core/paths.h"
#include "invocation/argument.h"
#include "tests/support/fakes.h"
#include "tests/support/cmdline.h"

namespace {

BbcbInputs Example() {
  BbcbInputs in;
  in.toolPath = "D:\\Bench\\BBCB\\irdeto_make_bbcb.exe";
  in.configPath = "E:\\cfg\\box.cfg";
  in.outputFolder = "G:\\rel";
  in.serialNumber = "0012ABCD";
  in.rn = "1A2B3C4D";
  in.manufacturerSn = "MF001";
  in.start = LocalTime{2011, 3, 15, 14, 45, 30};
  return in;
}

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime t) : t_(t) {}
  LocalTime Now() const override { return t_; }

 private:
  LocalTime t_;
};

// A bench: the fake services, with a maker tool that writes bbcb.bin from the
// arguments of the script's command line, as the real one is started by it.
struct Bench {
  FakeFileSystem fs;
  FakeLauncher launcher;
  FakeEnvironment env;
  RunServices services{fs, launcher, env};
  std::vector<std::vector<std::string>> toolArgs;

  Bench() {
    fs.AddFile("E:\\cfg\\box.cfg", "config bytes");
    launcher.onRun = [this](const std::string&, const std::string&) {
      std::string script = Script();
      const size_t third = script.find("\r\n", script.find("\r\n") + 2) + 2;
      std::string line = script.substr(third, script.size() - third - 2);
      for (size_t at = line.find("%%"); at != std::string::npos; at = line.find("%%", at + 1)) line.erase(at, 1);
      const std::vector<std::string> args = SplitWindowsCommandLine(line);
      toolArgs.push_back(args);
      fs.AddFile(args.at(10), "image of " + args.at(4));
    };
  }
  std::string Script() const { return fs.Content(GetModuleFolder(env) + "run_bbcb.bat"); }
  BbcbRun Start(BbcbInputs in) { return StartBbcbRun(services, FixedClock(in.start), in); }
};

const char* const kExampleLine =
    "irdeto_make_bbcb.EXE -config E:\\cfg\\box.cfg -sn 0012ABCD -rn 1A2B3C4D -manufacturer_sn \"MF001\" "
    "-output G:\\rel\\20110315_PM1445\\bbcb.bin";

TEST(BbcbCommand, ExampleScriptAndEverySingleSwitch) {
  const BbcbInputs in = Example();
  const std::string folder = BbcbStampedFolder(in.outputFolder, in.start);
  EXPECT_EQ("G:\\rel\\20110315_PM1445", folder);
  EXPECT_EQ(kExampleLine, BuildBbcbCommandLine(in, folder, BbcbCommandSelection::All()));
  EXPECT_EQ("D:\r\ncd D:\\Bench\\BBCB\r\n" + std::string(kExampleLine) + "\r\n", *ComposeBbcbScript(in, folder));

  const std::pair<bool BbcbCommandSelection::*, const char*> singles[] = {
      {&BbcbCommandSelection::toolName, "irdeto_make_bbcb.EXE "},
      {&BbcbCommandSelection::config, "-config E:\\cfg\\box.cfg "},
      {&BbcbCommandSelection::serialNumber, "-sn 0012ABCD "},
      {&BbcbCommandSelection::rn, "-rn 1A2B3C4D "},
      {&BbcbCommandSelection::manufacturerSn, "-manufacturer_sn \"MF001\" "},
      {&BbcbCommandSelection::output, "-output G:\\rel\\20110315_PM1445\\bbcb.bin"},
  };
  for (const auto& single : singles) {
    BbcbCommandSelection sel;
    sel.*single.first = true;
    EXPECT_EQ(single.second, BuildBbcbCommandLine(in, folder, sel));
  }
  EXPECT_EQ("", BuildBbcbCommandLine(in, folder, BbcbCommandSelection()));
}

TEST(BbcbCommand, StampUsesTwentyFourHoursAndCLocaleDesignator) {
  const struct {
    LocalTime t;
    const char* stamp;
  } cases[] = {
      {{2011, 2, 1, 9, 5, 59}, "20110201_AM0905"},
      {{2011, 2, 1, 0, 0, 0}, "20110201_AM0000"},
      {{2011, 2, 1, 12, 0, 0}, "20110201_PM1200"},
      {{2011, 12, 31, 23, 59, 0}, "20111231_PM2359"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.stamp, BbcbStamp(c.t));
  EXPECT_EQ("C:\\rel\\20110201_AM0905_3", BbcbStampedFolder("C:\\rel", cases[0].t, 3));
}

// Each value reaches the tool as one argument, unchanged, whatever it holds.
TEST(BbcbCommand, EveryValueIsOneArgumentThroughTheScript) {
  BbcbInputs in = Example();
  in.toolPath = "C:\\내 도구\\100% tools\\irdeto_make_bbcb.exe";
  in.configPath = "E:\\설정 & cfg\\box 50%.cfg";
  in.outputFolder = "G:\\release (a)";
  in.serialNumber = "12 34";  // stored values are loaded unchecked
  in.rn = "^&|<>";
  in.manufacturerSn = "MF 001\\";
  const std::string folder = BbcbStampedFolder(in.outputFolder, in.start);
  const std::string script = *ComposeBbcbScript(in, folder);
  EXPECT_EQ(0u, script.find("C:\r\ncd \"C:\\내 도구\\100%% tools\"\r\n")) << script;
  EXPECT_NE(std::string::npos, script.find("box 50%%.cfg"));

  const std::vector<std::string> expected = {
      "irdeto_make_bbcb.EXE", "-config", in.configPath, "-sn", "12 34", "-rn", "^&|<>",
      "-manufacturer_sn",     "MF 001\\", "-output", folder + "\\bbcb.bin"};
  EXPECT_EQ(expected, SplitWindowsCommandLine(BuildBbcbCommandLine(in, folder, BbcbCommandSelection::All())));
}

TEST(BbcbCommand, ValueThatCannotBePassedRefusesEveryComposition) {
  const std::pair<std::string BbcbInputs::*, const char*> bad[] = {
      {&BbcbInputs::manufacturerSn, "MF\"001"}, {&BbcbInputs::serialNumber, "12\"34"},
      {&BbcbInputs::rn, "1\r\n2"},              {&BbcbInputs::configPath, "E:\\cfg\\a\"b.cfg"},
      {&BbcbInputs::outputFolder, "G:\\r\nel"},
  };
  for (const auto& b : bad) {
    BbcbInputs in = Example();
    in.*b.first = b.second;
    SCOPED_TRACE(b.second);
    EXPECT_EQ("", BuildBbcbCommandLine(in, BbcbStampedFolder(in.outputFolder, in.start), BbcbCommandSelection::All()));
    Bench bench;
    EXPECT_EQ(BbcbRunStatus::kUnsafeValue, bench.Start(in).status);
    EXPECT_TRUE(bench.fs.files.size() == 1 && bench.fs.folders.empty() && bench.launcher.calls.empty());
  }
}

TEST(BbcbRun, ExampleRunLeavesImageConfigCopyAndExactReadMe) {
  Bench bench;
  const BbcbRun run = bench.Start(Example());
  ASSERT_EQ(BbcbRunStatus::kOk, run.status);
  EXPECT_EQ("G:\\rel\\20110315_PM1445", run.stampedFolder);
  ASSERT_EQ(1u, bench.launcher.calls.size());
  EXPECT_EQ("", bench.launcher.calls[0].capturePath);
  EXPECT_EQ("config bytes", bench.fs.Content("G:\\rel\\20110315_PM1445\\box.CFG"));
  EXPECT_EQ(
      "* 2011.03.15. PM 14:45 - Make Bbcb.Bin \r\n"
      "\r\n"
      "irdeto_make_bbcb.EXE \r\n"
      "\t-config box.cfg \r\n"
      "\t-sn 0012ABCD \r\n"
      "\t-rn 1A2B3C4D \r\n"
      "\t-manufacturer_sn \"MF001\" \r\n"
      "\t\r\n"
      "\t-output bbcb.bin\r\n"
      "\r\n",
      bench.fs.Content("G:\\rel\\20110315_PM1445\\ReadMe.txt"));
  EXPECT_TRUE(run.output.imageFound && run.output.configCopied && run.output.readMeWritten);
}

TEST(BbcbRun, NineOFiveConfigInRootAndOutputInRoot) {
  Bench bench;
  bench.fs.AddFile("C:\\box.cfg", "root config");
  BbcbInputs in = Example();
  in.configPath = "C:\\box.cfg";
  in.outputFolder = "F:\\";
  in.start = LocalTime{2011, 2, 1, 9, 5, 0};
  const BbcbRun run = bench.Start(in);
  ASSERT_EQ(BbcbRunStatus::kOk, run.status);
  const std::string folder = "F:\\\\20110201_AM0905";
  EXPECT_EQ(folder, run.stampedFolder);
  EXPECT_EQ(folder + "\\bbcb.bin", bench.toolArgs.at(0).at(10));
  EXPECT_EQ("root config", bench.fs.Content(folder + "\\box.CFG"));
  const std::string readMe = bench.fs.Content(folder + "\\ReadMe.txt");
  EXPECT_EQ(0u, readMe.find("* 2011.02.01. AM 09:05 - Make Bbcb.Bin \r\n"));
  EXPECT_NE(std::string::npos, readMe.find("\r\n\t-config box.cfg \r\n"));
  EXPECT_NE(std::string::npos, readMe.find("\r\n\t-output bbcb.bin\r\n\r\n"));
}

TEST(BbcbRun, EmptyRequiredValueWritesNothing) {
  for (std::string BbcbInputs::*field : {&BbcbInputs::toolPath, &BbcbInputs::configPath, &BbcbInputs::outputFolder,
                                         &BbcbInputs::serialNumber, &BbcbInputs::rn, &BbcbInputs::manufacturerSn}) {
    Bench bench;
    BbcbInputs in = Example();
    in.*field = "";
    EXPECT_EQ(BbcbRunStatus::kMissingValue, bench.Start(in).status);
    EXPECT_EQ(1u, bench.fs.files.size());
    EXPECT_TRUE(bench.fs.folders.empty() && bench.launcher.calls.empty());
  }
}

TEST(BbcbRun, RunsOfOneMinuteKeepEveryImage) {
  Bench bench;
  const char* const serials[] = {"00000001", "00000002", "00000003"};
  const char* const folders[] = {"G:\\rel\\20110315_PM1445", "G:\\rel\\20110315_PM1445_2",
                                 "G:\\rel\\20110315_PM1445_3"};
  for (int i = 0; i < 3; ++i) {
    BbcbInputs in = Example();
    in.serialNumber = serials[i];
    in.start.second = 10 * i;
    const BbcbRun run = bench.Start(in);
    ASSERT_EQ(BbcbRunStatus::kOk, run.status);
    EXPECT_EQ(folders[i], run.stampedFolder);
    EXPECT_EQ(std::string(folders[i]) + "\\bbcb.bin", bench.toolArgs.at(i).at(10));
  }
  for (int i = 0; i < 3; ++i) {
    const std::string folder = folders[i];
    EXPECT_EQ("image of " + std::string(serials[i]), bench.fs.Content(folder + "\\bbcb.bin"));
    EXPECT_NE(std::string::npos, bench.fs.Content(folder + "\\ReadMe.txt").find(serials[i]));
    EXPECT_TRUE(bench.fs.Has(folder + "\\box.CFG"));
  }
}

TEST(BbcbRun, NothingClaimsAnImageThatWasNotMade) {
  {  // the script cannot be started
    Bench bench;
    bench.launcher.startable = false;
    const BbcbRun run = bench.Start(Example());
    EXPECT_EQ(BbcbRunStatus::kNotStarted, run.status);
    EXPECT_FALSE(bench.fs.Has(run.stampedFolder + "\\ReadMe.txt") || bench.fs.Has(run.stampedFolder + "\\box.CFG"));
  }
  {  // the tool ran but wrote no image
    Bench bench;
    bench.launcher.onRun = nullptr;
    const BbcbRun run = bench.Start(Example());
    EXPECT_EQ(BbcbRunStatus::kOk, run.status);
    EXPECT_FALSE(run.output.imageFound || run.output.configCopied || run.output.readMeWritten);
    EXPECT_EQ(2u, bench.fs.files.size());  // the config and the script only
  }
  {  // the stamped folder cannot be made: nothing is started
    Bench bench;
    bench.fs.refused = {"G:\\rel"};
    EXPECT_EQ(BbcbRunStatus::kNoFolder, bench.Start(Example()).status);
    EXPECT_TRUE(bench.launcher.calls.empty());
  }
  for (bool unreadable : {false, true}) {  // no script: no folder either
    Bench bench;
    BbcbInputs in = Example();
    if (unreadable) {
      bench.env.asciiBatchOnly = true;  // cmd could not read this path back
      in.configPath = "E:\\설정\\box.cfg";
    } else {
      bench.fs.refused = {"C:\\"};
    }
    EXPECT_EQ(BbcbRunStatus::kNoScript, bench.Start(in).status);
    EXPECT_TRUE(bench.fs.folders.empty() && bench.launcher.calls.empty());
  }
}

}  // namespace
