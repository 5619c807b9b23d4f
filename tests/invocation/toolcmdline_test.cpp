#include <gtest/gtest.h>

#include "core/options.h"
#include "core/paths.h"
#include "invocation/argument.h"
#include "invocation/toolcmdline.h"
#include "tests/support/cmdline.h"

namespace {

ToolCommandInputs Example1() {
  ToolCommandInputs in;
  in.toolPath = "D:\\Bench\\Dorvik.exe";
  in.port = 1;
  in.baudRate = 115200;
  in.dataBits = 8;
  in.stopBits = 0;
  in.parity = 0;
  in.command = kCmdFileDownload;
  in.rows = {{false, "E:\\load", "bbcb.BIN"}, {true, "E:\\load", "dev002.SDL"}, {true, "E:\\load", "devkey.DNL"}};
  in.debugPrint = true;
  return in;
}

ToolCommandInputs Example2() {
  ToolCommandInputs in;
  in.toolPath = "D:\\Bench\\Dorvik.exe";
  in.port = 3;
  in.baudRate = 57600;
  in.dataBits = 8;
  in.stopBits = 2;
  in.parity = 1;
  in.command = kCmdIrdetoFactoryLock;
  in.rows = {{true, "E:\\load", "bbcb.BIN"}, {true, "F:\\keys", "mankey.DNL"}};
  in.scs = true;
  in.cw = true;
  in.outputPath = "G:\\out\\result.txt";
  in.debugPrint = false;
  return in;
}

std::vector<std::string> HistoryGroups(const ToolCommandInputs& in) {
  std::vector<std::string> lines = {BuildToolCommandLine(in, CommandLineSelection::SerialGroup()),
                                    BuildToolCommandLine(in, CommandLineSelection::CommandGroup())};
  for (int k = 0; k < 4; ++k) lines.push_back(BuildToolCommandLine(in, CommandLineSelection::ArgumentGroup(k)));
  lines.push_back(BuildToolCommandLine(in, CommandLineSelection::OutputGroup()));
  return lines;
}

TEST(ToolCommandLine, Example1FileDownload) {
  const ToolCommandInputs in = Example1();
  EXPECT_EQ("Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\dev002.SDL -d ",
            BuildToolCommandLine(in, CommandLineSelection::Script()));
  const std::vector<std::string> expected = {"Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ", "", "dev002.SDL ", "", "", "",
                                             ""};
  EXPECT_EQ(expected, HistoryGroups(in));
}

TEST(ToolCommandLine, Example2FactoryLock) {
  const ToolCommandInputs in = Example2();
  EXPECT_EQ(
      "Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 -cmd irdeto_factory_lock -arg0 E:\\load\\bbcb.BIN "
      "-arg1 F:\\keys\\mankey.DNL -arg2 \"SCS|CW\" -output G:\\out\\result.txt ",
      BuildToolCommandLine(in, CommandLineSelection::Script()));
  const std::vector<std::string> expected = {"Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 ",
                                             "-cmd irdeto_factory_lock ",
                                             "-arg0 bbcb.BIN ",
                                             "-arg1 mankey.DNL ",
                                             "-arg2 \"SCS|CW\" ",
                                             "",
                                             "-output result.TXT "};
  EXPECT_EQ(expected, HistoryGroups(in));
}

TEST(ToolCommandLine, EveryCommandsRules) {
  struct Case {
    int32_t command;
    bool emptyList;
    bool scs, jei, cw;
    std::vector<DownloadRow> rows;
    const char* expected;  // after "T.EXE "
  };
  const std::vector<DownloadRow> two = {{true, "C:\\i", "a.BIN"}, {false, "C:\\i", "b.BIN"}, {true, "C:\\i", "c.BIN"}};
  const std::vector<DownloadRow> none;
  const std::vector<DownloadRow> unchecked = {{false, "C:\\i", "a.BIN"}};
  const Case cases[] = {
      {kCmdFileDownload, false, false, false, false, two, "C:\\i\\a.BIN "},
      {kCmdFileDownload, false, false, false, false, unchecked, ""},
      {kCmdFileDownload, true, false, false, false, none, nullptr},
      {kCmdIrdetoFactoryProgram, false, true, true, true, two,
       "-cmd irdeto_factory_program -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "},
      {kCmdIrdetoFactoryProgram, true, false, false, false, none, nullptr},
      {kCmdIrdetoFactoryLock, false, false, false, false, {{true, "C:\\i", "a.BIN"}},
       "-cmd irdeto_factory_lock -arg0 C:\\i\\a.BIN -arg1 \"\" "},
      {kCmdIrdetoFactoryLock, true, false, false, false, none, nullptr},
      {kCmdIrdetoSecureLock, true, false, true, false, none, "-cmd irdeto_secure_lock -arg0 \"JEI\" "},
      {kCmdIrdetoSecureLock, false, true, true, true, two,
       "-cmd irdeto_secure_lock -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN -arg2 \"SCS|JEI|CW\" "},
      {kCmdIrdetoSecureCheck, true, true, false, false, none, "-cmd irdeto_secure_check "},
      {kCmdIrdetoLoaderStatus, false, false, false, false, two,
       "-cmd irdeto_loader_status -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "},
      {kCmdIrdetoDevProgram, false, false, false, false, two,
       "-cmd irdeto_dev_program -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "},
      {kCmdIrdetoDevProgram, true, false, false, false, none, nullptr},
      {kCmdHdcpDownload, true, false, false, false, none, "-cmd irdeto_hdcp "},
  };
  for (const Case& c : cases) {
    ToolCommandInputs in;
    in.toolPath = "C:\\T.exe";
    in.port = 2, in.baudRate = 2400, in.dataBits = 5, in.stopBits = 1, in.parity = 2;
    in.command = c.command;
    in.rows = c.rows;
    in.scs = c.scs, in.jei = c.jei, in.cw = c.cw;
    in.debugPrint = false;
    SCOPED_TRACE(testing::Message() << "command " << c.command << " rows " << c.rows.size());
    EXPECT_EQ(c.expected != nullptr, CanBuildCommandLine(in));
    const std::string line = BuildToolCommandLine(in, CommandLineSelection::Script());
    if (c.expected == nullptr) {
      EXPECT_EQ("", line);
    } else {
      EXPECT_EQ(std::string("T.EXE -c 2 -b 0 -n 5 -s 1 -p 2 ") + c.expected, line);
    }
  }
}

TEST(ToolCommandLine, EmptyToolPathRefusesEveryCommand) {
  ToolCommandInputs in = Example2();
  in.toolPath.clear();
  for (int i = 0; i < GetCommandCount(); ++i) {
    in.command = CommandOptions[i].value;
    EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
  }
}

TEST(ToolCommandLine, TwentyFiveCheckedRowsTakePositionsInListOrder) {
  ToolCommandInputs in = Example1();
  in.command = kCmdIrdetoFactoryProgram;
  in.rows.clear();
  std::string expected = "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -cmd irdeto_factory_program ";
  for (int i = 0; i < 25; ++i) {
    in.rows.push_back({false, "E:\\x", "skip" + std::to_string(i) + ".BIN"});
    in.rows.push_back({true, "E:\\load", "f" + std::to_string(i) + ".BIN"});
    expected += "-arg" + std::to_string(i) + " E:\\load\\f" + std::to_string(i) + ".BIN ";
  }
  expected += "-d ";
  EXPECT_EQ(expected, BuildToolCommandLine(in, CommandLineSelection::Script()));
  // The history shows positions 0 to 3 only.
  EXPECT_EQ("-arg3 f3.BIN ", BuildToolCommandLine(in, CommandLineSelection::ArgumentGroup(3)));
}

TEST(ToolCommandLine, SerialListsWithoutSelectionWriteNoPiece) {
  ToolCommandInputs in = Example1();
  in.port.reset();
  in.baudRate = 12345;  // a stored value outside the table
  in.stopBits.reset();
  EXPECT_EQ("Dorvik.EXE -n 8 -p 0 E:\\load\\dev002.SDL -d ", BuildToolCommandLine(in, CommandLineSelection::Script()));
  in.command.reset();
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
}

TEST(ToolCommandLine, ValuesThatNeedQuotingAreQuoted) {
  ToolCommandInputs in = Example2();
  in.toolPath = "C:\\Program Files\\Bench Tools\\Dorvik tool.exe";
  in.rows = {{true, "C:\\Documents and Settings\\op", "a&b.BIN"}, {true, "E:\\load", "x.BIN"}};
  in.outputPath = "C:\\out dir\\r%TEMP%.txt";
  EXPECT_EQ(
      "\"Dorvik tool.EXE\" -c 3 -b 6 -n 8 -s 2 -p 1 -cmd irdeto_factory_lock "
      "-arg0 \"C:\\Documents and Settings\\op\\a&b.BIN\" -arg1 E:\\load\\x.BIN -arg2 \"SCS|CW\" "
      "-output \"C:\\out dir\\r%TEMP%.txt\" ",
      BuildToolCommandLine(in, CommandLineSelection::Script()));
  EXPECT_EQ("-arg0 \"a&b.BIN\" ", BuildToolCommandLine(in, CommandLineSelection::ArgumentGroup(0)));
  EXPECT_EQ("-output \"r%TEMP%.TXT\" ", BuildToolCommandLine(in, CommandLineSelection::OutputGroup()));
}

TEST(ToolCommandLine, AValueThatCannotBeOneArgumentRefusesTheLine) {
  ToolCommandInputs in = Example1();
  in.rows[1].fileName = "bad\"name.BIN";
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
  in = Example1();
  in.outputPath = "C:\\out\\a\nb.txt";
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
}

TEST(Argument, FormatRules) {
  struct Case {
    const char* value;
    const char* formatted;  // nullptr: refused
  };
  const Case cases[] = {
      {"E:\\load\\dev002.SDL", "E:\\load\\dev002.SDL"},
      {"a-b_c~d.e:f", "a-b_c~d.e:f"},
      {"", "\"\""},
      {"a b", "\"a b\""},
      {"C:\\", "C:\\"},
      {"C:\\dir with blank\\", "\"C:\\dir with blank\\\\\""},
      {"x&y", "\"x&y\""},
      {"다운로드", "\"다운로드\""},
      {"a\"b", nullptr},
      {"a\rb", nullptr},
      {"tab\there", "\"tab\there\""},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> f = FormatArgument(c.value);
    if (c.formatted == nullptr) {
      EXPECT_FALSE(f.has_value()) << c.value;
    } else {
      ASSERT_TRUE(f.has_value()) << c.value;
      EXPECT_EQ(c.formatted, *f);
    }
  }
}

TEST(Argument, SplitterFollowsTheRuntimeRules) {
  using V = std::vector<std::string>;
  EXPECT_EQ((V{"a", "b c", "d"}), SplitWindowsCommandLine("a \"b c\" d"));
  EXPECT_EQ((V{"a\\\\b", "c\\"}), SplitWindowsCommandLine("a\\\\b \"c\\\\\""));
  EXPECT_EQ((V{"a\"b"}), SplitWindowsCommandLine("a\\\"b"));
  EXPECT_EQ((V{""}), SplitWindowsCommandLine("\"\""));
  EXPECT_EQ((V{}), SplitWindowsCommandLine("   "));
}

// Whatever the values, splitting the composed line gives each back as one argument.
TEST(ToolCommandLine, EveryValueComesBackAsOneArgument) {
  const std::vector<std::string> folders = {
      "C:\\Documents and Settings\\op", "E:\\a&b", "E:\\x^y", "E:\\50%", "E:\\(1)", "E:\\a,b;c=d",
      "E:\\bang!", "E:\\다운로드 폴더", "E:\\trail\\", "\\\\server\\share dir", "E:\\plain"};
  for (size_t i = 0; i < folders.size(); ++i) {
    ToolCommandInputs in;
    in.toolPath = folders[i] + "\\Dorvik.exe";
    in.port = 1, in.baudRate = 9600, in.dataBits = 8, in.stopBits = 0, in.parity = 0;
    in.command = kCmdIrdetoFactoryProgram;
    in.rows = {{true, folders[i], "one file.BIN"},
               {false, folders[(i + 1) % folders.size()], "skipped.BIN"},
               {true, folders[(i + 2) % folders.size()], "two&.BIN"}};
    in.outputPath = folders[(i + 3) % folders.size()] + "\\out put.txt";
    const std::string line = BuildToolCommandLine(in, CommandLineSelection::Script());
    ASSERT_FALSE(line.empty()) << folders[i];
    const std::vector<std::string> args = SplitWindowsCommandLine(line);
    const std::vector<std::string> expected = {
        GetPathFileName(in.toolPath), "-c", "1", "-b", "2", "-n", "8", "-s", "0", "-p", "0",
        "-cmd", "irdeto_factory_program", "-arg0", in.rows[0].folder + "\\one file.BIN", "-arg1",
        in.rows[2].folder + "\\two&.BIN", "-output", in.outputPath, "-d"};
    EXPECT_EQ(expected, args) << line;
  }
}

}  // namespace
