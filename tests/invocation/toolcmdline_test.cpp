#include <gtest/gtest.h>

#include "invocation/argument.h"
#include "invocation/toolcmdline.h"
#include "invocation/script.h"
#include "tests/support/cmdline.h"
#include "tests/support/runinputs.h"

namespace {

const LocalTime kStart{2011, 3, 7, 14, 5, 33};

TEST(Argument, FormatAndSplitRules) {
  const std::pair<std::string, const char*> formats[] = {
      {"azAZ09\\:._-~", "azAZ09\\:._-~"}, {"`", "\"`\""}, {"{", "\"{\""}, {"@", "\"@\""}, {"[", "\"[\""},
      {"/", "\"/\""}, {"", "\"\""}, {"a b\\\\", "\"a b\\\\\\\\\""}, {"C:\\", "C:\\"}, {"다운로드", "\"다운로드\""},
      {"tab\there", "\"tab\there\""}, {"a\"b", nullptr}, {"a\x1F", nullptr}, {"a\x7F", nullptr}, {"a\nb", nullptr},
  };
  for (const auto& [value, formatted] : formats) {
    EXPECT_EQ(formatted ? std::optional<std::string>(formatted) : std::nullopt, FormatArgument(value)) << value;
  }
  using V = std::vector<std::string>;
  const std::pair<const char*, V> splits[] = {
      {"a \"b c\"\td", {"a", "b c", "d"}}, {"a\\\\b \"c\\\\\"", {"a\\\\b", "c\\"}}, {"a\\\"b c\\\\\\\"d", {"a\"b", "c\\\"d"}},
      {"\"\"", {""}}, {" \t ", {}}, {"\"a\"\"b\" c", {"a\"b", "c"}}, {"a\"b\"\"", {"ab\""}},
  };
  for (const auto& [line, args] : splits) EXPECT_EQ(args, SplitWindowsCommandLine(line)) << line;
}

TEST(ToolCommandLine, ExamplesScriptAndHistory) {
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "dev002.SDL");
  in.rows.insert(in.rows.begin(), DownloadRow{false, "E:\\load", "bbcb.BIN"});
  in.rows.push_back({true, "E:\\load", "devkey.DNL"});
  EXPECT_EQ("REM 2011.03.07. 14:05\r\nD:\r\ncd D:\\Bench\r\n"
            "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\dev002.SDL -d 2>&1\r\n",
            ComposeRunScript(in, kStart));
  EXPECT_EQ((std::vector<std::string>{"[2011.03.07. 14:05]", "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ", "dev002.SDL ", " "}),
            ComposeRunHistoryLines(in, kStart));

  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "bbcb.BIN");
  in.port = 3, in.baudRate = 57600, in.stopBits = 2, in.parity = 1, in.command = kCmdIrdetoFactoryLock;
  in.rows.push_back({true, "F:\\keys", "mankey.DNL"});
  in.scs = in.cw = true;
  in.outputPath = "G:\\out\\result.txt";
  in.debugPrint = false;
  EXPECT_EQ("Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 -cmd irdeto_factory_lock -arg0 E:\\load\\bbcb.BIN "
            "-arg1 F:\\keys\\mankey.DNL -arg2 \"SCS|CW\" -output G:\\out\\result.txt ",
            BuildToolCommandLine(in, CommandLineSelection::Script()));
  EXPECT_EQ((std::vector<std::string>{"[2011.03.07. 14:05]", "Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 ",
                                      "-cmd irdeto_factory_lock ", "-arg0 bbcb.BIN ", "-arg1 mankey.DNL ",
                                      "-arg2 \"SCS|CW\" ", "-output result.TXT ", " "}),
            ComposeRunHistoryLines(in, kStart));
}

TEST(ToolCommandLine, EveryCommandsRules) {
  enum { kRows = 1, kScs = 2, kJei = 4, kCw = 8 };
  const std::tuple<int32_t, int, const char*> cases[] = {  // command, inputs, line after the serial pieces
      {kCmdFileDownload, kRows, "C:\\i\\a.BIN "}, {kCmdFileDownload, 0, nullptr},
      {kCmdIrdetoFactoryProgram, kRows | kScs | kJei | kCw, "-cmd irdeto_factory_program -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "},
      {kCmdIrdetoFactoryProgram, 0, nullptr}, {kCmdIrdetoFactoryLock, 0, nullptr}, {kCmdIrdetoDevProgram, 0, nullptr},
      {kCmdIrdetoFactoryLock, kRows, "-cmd irdeto_factory_lock -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN -arg2 \"\" "},
      {kCmdIrdetoSecureLock, kJei, "-cmd irdeto_secure_lock -arg0 \"JEI\" "},
      {kCmdIrdetoSecureLock, kScs | kJei | kCw, "-cmd irdeto_secure_lock -arg0 \"SCS|JEI|CW\" "},
      {kCmdIrdetoSecureCheck, kScs, "-cmd irdeto_secure_check "}, {kCmdHdcpDownload, 0, "-cmd irdeto_hdcp "},
      {kCmdIrdetoLoaderStatus, kRows, "-cmd irdeto_loader_status -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "},
      {kCmdIrdetoDevProgram, kRows, "-cmd irdeto_dev_program -arg0 C:\\i\\a.BIN -arg1 C:\\i\\c.BIN "}, {8, 0, ""}};
  for (const auto& [command, inputs, expected] : cases) {
    ToolCommandInputs in;
    in.toolPath = "C:\\T.exe";
    in.port = 2, in.baudRate = 2400, in.dataBits = 5, in.stopBits = 1, in.parity = 2, in.command = command;
    if (inputs & kRows) in.rows = {{true, "C:\\i", "a.BIN"}, {false, "C:\\i", "b.BIN"}, {true, "C:\\i", "c.BIN"}};
    in.scs = (inputs & kScs) != 0, in.jei = (inputs & kJei) != 0, in.cw = (inputs & kCw) != 0, in.debugPrint = false;
    EXPECT_EQ(expected != nullptr, CanBuildCommandLine(in)) << command;
    EXPECT_EQ(expected ? std::string("T.EXE -c 2 -b 0 -n 5 -s 1 -p 2 ") + expected : "",
              BuildToolCommandLine(in, CommandLineSelection::Script())) << command;
  }
}

TEST(ToolCommandLine, PiecesLeftOffAndPositionsTaken) {
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.BIN");
  in.port.reset(), in.dataBits.reset();
  in.baudRate = 115201;  // a stored value outside the table
  in.stopBits = 3, in.parity = -1;
  EXPECT_EQ("Dorvik.EXE E:\\load\\a.BIN -d ", BuildToolCommandLine(in, CommandLineSelection::Script()));
  in.command.reset();
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));

  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.BIN");
  in.command = kCmdIrdetoFactoryProgram;
  in.rows.clear();
  std::string expected = "-cmd irdeto_factory_program ";
  for (int i = 0; i < 25; ++i) {
    in.rows.push_back({false, "E:\\x", "skip.BIN"});
    in.rows.push_back({true, "E:\\load", "f" + std::to_string(i) + ".BIN"});
    expected += "-arg" + std::to_string(i) + " E:\\load\\f" + std::to_string(i) + ".BIN ";
  }
  EXPECT_EQ("Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 " + expected + "-d ",
            BuildToolCommandLine(in, CommandLineSelection::Script()));
  const std::vector<std::string> history = ComposeRunHistoryLines(in, kStart);  // positions 0 to 3
  EXPECT_EQ(8u, history.size());
  EXPECT_EQ("-arg3 f3.BIN ", history.at(6));
  in.toolPath.clear();
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
}

}  // namespace
