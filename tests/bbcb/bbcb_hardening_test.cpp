// BBCB runs against the faults of a bench: a release folder removed after it
// was chosen, a maker tool that made nothing, a tool on a network share.
#include <gtest/gtest.h>

#include "bbcb/bbcbjob.h"
#include "tests/support/fakes.h"

namespace {

BbcbInputs Job() {
  BbcbInputs in;
  in.toolPath = "D:\\Bench\\irdeto_make_bbcb.exe";
  in.configPath = "E:\\cfg\\box.cfg";
  in.outputFolder = "G:\\rel";
  in.serialNumber = "0012ABCD";
  in.rn = "1A2B3C4D";
  in.manufacturerSn = "MF 001 & co";
  in.start = LocalTime{2011, 3, 15, 14, 45, 30};
  return in;
}

class FixedClock : public Clock {
 public:
  LocalTime Now() const override { return LocalTime{2011, 3, 15, 14, 45, 30}; }
};

struct Bench {
  FakeFileSystem fs;
  FakeLauncher launcher;
  FakeEnvironment env;
  RunServices services{fs, launcher, env};
  FixedClock clock;
  Bench() { fs.AddFile("E:\\cfg\\box.cfg", "config"); }
};

TEST(BbcbHardening, RemovedOutputFolderStartsNothingAndClaimsNothing) {
  Bench bench;
  bench.fs.refused = {"G:\\rel"};  // the folder is gone: nothing can be made in it
  BbcbInputs in = Job();
  const BbcbRun run = StartBbcbRun(bench.services, bench.clock, in);
  EXPECT_EQ(BbcbRunStatus::kNoFolder, run.status);
  EXPECT_TRUE(bench.launcher.calls.empty());
  EXPECT_FALSE(run.output.readMeWritten || run.output.configCopied);
}

TEST(BbcbHardening, ToolThatMadeNoImageLeavesOnlyItsEmptyFolder) {
  // A crash, a non-zero exit and a missing maker tool all end with no bbcb.bin.
  Bench bench;
  BbcbInputs in = Job();
  const BbcbRun run = StartBbcbRun(bench.services, bench.clock, in);
  ASSERT_EQ(BbcbRunStatus::kOk, run.status);
  EXPECT_FALSE(run.output.imageFound || run.output.configCopied || run.output.readMeWritten);
  for (const auto& file : bench.fs.files) EXPECT_EQ(std::string::npos, file.first.find("20110315_PM1445"));

  // The next run of the same minute does not reuse the earlier run's folder.
  BbcbInputs again = Job();
  EXPECT_EQ("G:\\rel\\20110315_PM1445_2", StartBbcbRun(bench.services, bench.clock, again).stampedFolder);
}

TEST(BbcbHardening, NetworkToolFolderKeepsThreeLines) {
  BbcbInputs in = Job();
  in.toolPath = "\\\\server\\tools\\irdeto_make_bbcb.exe";
  const std::optional<std::string> script = ComposeBbcbScript(in, "G:\\rel\\20110315_PM1445");
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(
      "pushd \\\\server\\tools\r\n"
      "irdeto_make_bbcb.EXE -config E:\\cfg\\box.cfg -sn 0012ABCD -rn 1A2B3C4D -manufacturer_sn \"MF 001 & co\" "
      "-output G:\\rel\\20110315_PM1445\\bbcb.bin\r\n"
      "popd\r\n",
      *script);
}

}  // namespace
