#include <gtest/gtest.h>

#include "invocation/argument.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"

namespace {

const LocalTime kStart{2011, 3, 7, 14, 5, 33};
using Args = std::vector<std::string>;

TEST(Argument, FormatRules) {
  const std::pair<std::string, const char*> formats[] = {
      {"azAZ09\\:._-~", "azAZ09\\:._-~"}, {"`", "\"`\""}, {"{", "\"{\""}, {"@", "\"@\""}, {"[", "\"[\""},
      {"/", "\"/\""}, {"", "\"\""}, {"a b\\\\", "\"a b\\\\\\\\\""}, {"\\", "\\"}, {"\\ ", "\"\\ \""},
      {"다운로드", "\"다운로드\""}, {"tab\there", "\"tab\there\""}, {"a\"b", nullptr}, {"a\x1F", nullptr},
      {"a\x7F", nullptr}, {"a\nb", nullptr}};
  for (const auto& [value, formatted] : formats)
    EXPECT_EQ(formatted ? std::optional<std::string>(formatted) : std::nullopt, FormatArgument(value)) << value;
}

TEST(ToolCommandLine, ExamplesPiecesLeftOffAndPositionsTaken) {
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "bbcb.BIN");
  in.port = 3, in.baudRate = 57600, in.stopBits = 2, in.parity = 1, in.command = kCmdIrdetoFactoryLock;
  in.rows.push_back({true, "F:\\keys", "mankey.DNL"});
  in.scs = in.cw = true, in.outputPath = "G:\\out\\result.txt", in.debugPrint = false;
  EXPECT_EQ("Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 -cmd irdeto_factory_lock -arg0 E:\\load\\bbcb.BIN "
            "-arg1 F:\\keys\\mankey.DNL -arg2 \"SCS|CW\" -output G:\\out\\result.txt ",
            BuildToolCommandLine(in, CommandLineSelection::Script()));
  EXPECT_EQ((Args{"[2011.03.07. 14:05]", "Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 ", "-cmd irdeto_factory_lock ",
                  "-arg0 bbcb.BIN ", "-arg1 mankey.DNL ", "-arg2 \"SCS|CW\" ", "-output result.TXT ", " "}),
            ComposeRunHistoryLines(in, kStart));
  // File Download sends the first checked row; stored values outside a table are left off.
  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "dev002.SDL");
  in.rows = {{false, "E:\\load", "bbcb.BIN"}, in.rows[0], {true, "E:\\load", "devkey.DNL"}};
  EXPECT_EQ((Args{"[2011.03.07. 14:05]", "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ", "dev002.SDL ", " "}),
            ComposeRunHistoryLines(in, kStart));
  in.port.reset(), in.dataBits.reset(), in.stopBits = 3, in.parity = 3, in.baudRate = 115201;
  EXPECT_EQ("Dorvik.EXE E:\\load\\dev002.SDL -d ", BuildToolCommandLine(in, CommandLineSelection::Script()));
  in.command.reset();
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.BIN");
  in.command = kCmdIrdetoFactoryProgram, in.rows.clear();
  std::string expected = "-cmd irdeto_factory_program ";
  for (int i = 0; i < 25; ++i) {
    in.rows.push_back({false, "E:\\x", "skip.BIN"});
    in.rows.push_back({true, "E:\\load", "f" + std::to_string(i) + ".BIN"});
    expected += "-arg" + std::to_string(i) + " E:\\load\\f" + std::to_string(i) + ".BIN ";
  }
  EXPECT_EQ("Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 " + expected + "-d ",
            BuildToolCommandLine(in, CommandLineSelection::Script()));
  const Args history = ComposeRunHistoryLines(in, kStart);  // positions 0 to 3
  EXPECT_EQ((Args{"-arg3 f3.BIN ", " "}), Args(history.begin() + 6, history.end()));
  in.toolPath.clear();
  EXPECT_EQ("", BuildToolCommandLine(in, CommandLineSelection::Script()));
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
    ToolCommandInputs in{"C:\\T.exe", 2, 2400, 5, 1, 2, command, {}, (inputs & kScs) != 0, (inputs & kJei) != 0,
                         (inputs & kCw) != 0, "", false};
    if (inputs & kRows) in.rows = {{false, "C:\\i", "b.BIN"}, {true, "C:\\i", "a.BIN"}, {true, "C:\\i", "c.BIN"}};
    EXPECT_EQ(expected != nullptr, CanBuildCommandLine(in)) << command;
    EXPECT_EQ(expected ? std::string("T.EXE -c 2 -b 0 -n 5 -s 1 -p 2 ") + expected : "",
              BuildToolCommandLine(in, CommandLineSelection::Script())) << command;
  }
}

const std::string kProgram = "C:\\Program Files\\Quintor\\", kUser = "C:\\Users\\op\\AppData\\Local\\Quintor";
const std::string kScript = kProgram + "run_dorvik.bat", kLog = kProgram + "Quintor_Log.txt";
const std::string kUserScript = kUser + "\\run_dorvik.bat", kUserLog = kUser + "\\Quintor_Log.txt";

class Runner : public ::testing::Test, protected FakeServices {
 protected:
  ToolCommandInputs in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\load", "a.bin");
  void SetUp() override { fs.AddFile(in.toolPath, "MZ"); }
  // Runs and gives the start command with its capture file.
  std::string Run(bool capture) {
    return RunToolScript(services, in, kStart, capture) ? launcher.calls.back() : "not run";
  }
};

TEST_F(Runner, ScriptAndCaptureLogGoWhereTheyCanBeWritten) {
  fs.AddFile(kLog, "old output");
  std::string logDuringRun = "not run";
  bool scriptWritable = true;  // it is held until the run has ended
  launcher.onRun = [&](const std::string&, const std::string& capture) {
    logDuringRun = fs.Content(capture), scriptWritable = fs.WriteFileBytes(kScript, "");
  };
  EXPECT_EQ("cmd.exe /d /v:off /s /c \"\"" + kScript + "\"\" > " + kLog + " waited", Run(true));
  EXPECT_TRUE(logDuringRun.empty() && !scriptWritable && fs.held.empty());
  // The per-user folder is made only when a file goes there; an empty log is not viewed.
  EXPECT_FALSE(fs.FolderExists(kUser) || fs.Has(kUserLog) || ViewCaptureLog(services));
  fs.AddFile(kLog, "captured");
  ASSERT_TRUE(ViewCaptureLog(services));
  fs.refused = {kLog};  // the per-user folder is made for the log alone
  EXPECT_EQ(ScriptStartCommand(kScript) + " > " + kUserLog + " waited", Run(true));
  EXPECT_TRUE(fs.FolderExists(kUser));
  fs.folders.clear(), fs.refused = {kProgram};  // and for the script
  EXPECT_EQ(ScriptStartCommand(kUserScript) + " > " + kUserLog + " waited", Run(true));
  EXPECT_TRUE(fs.FolderExists(kUser));
  fs.AddFile(kUserLog, "x");
  EXPECT_TRUE(ViewCaptureLog(services) && launcher.calls.back() == "notepad.exe " + kUserLog + " > ");
  // Once the program folder takes the log again, the older per-user log no longer stands for the last run.
  fs.refused.clear();
  EXPECT_EQ(ScriptStartCommand(kScript) + " > " + kLog + " waited", Run(true));
  EXPECT_TRUE(CaptureLogPath(services) == kLog && fs.Content(kUserLog).empty()) << CaptureLogPath(services);
  fs.refused = {kLog, kUser + "\\"};  // no folder takes the log
  EXPECT_EQ(ScriptStartCommand(kScript) + " >  waited", Run(true));
  env.exePath = "C:\\Tools %USERNAME%\\Quintor.exe";  // cmd would expand it; the per-user folder serves
  EXPECT_EQ("not run", Run(true));
  fs.refused.clear();
  EXPECT_EQ(ScriptStartCommand(kUserScript) + " > C:\\Tools %USERNAME%\\Quintor_Log.txt waited", Run(true));
}

TEST_F(Runner, NothingRunsWithoutAToolACommandLineOrAReadableScript) {
  fs.AddFile(kScript, "previous");
  in.rows.clear();
  EXPECT_EQ("not run", Run(true));
  in = FileDownloadInputs("D:\\Bench\\Dorvik.exe", "E:\\한글", "a.bin");
  env.asciiBatchOnly = true;  // a character cmd would read as another one
  EXPECT_EQ("not run", Run(false));
  EXPECT_TRUE(launcher.calls.empty() && fs.Content(kScript) == "previous" && !fs.Has(kLog));
  env.asciiBatchOnly = false, fs.beforeHold = [this](const std::string& path) { fs.AddFile(path, "swapped by another user"); };
  EXPECT_EQ("not run", Run(false));
  fs.files.clear();  // the tool has gone since it was chosen
  EXPECT_FALSE(Run(false) != "not run" || ViewCaptureLog(services) || !launcher.calls.empty());
}

TEST(RunScript, FolderLinesAndLimits) {
  const auto script = [](const std::string& tool) { return ComposeRunScript(FileDownloadInputs(tool, "E:\\l", "a.bin"), kStart).substr(23); };
  const std::string command = "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\l\\a.bin -d 2>&1\r\n";
  EXPECT_EQ("A:\r\ncd A:\\\r\n" + command, script("A:\\Dorvik.exe"));
  for (const std::string drive : {"A:", "Z:", "a:", "z:"}) EXPECT_EQ(drive + "\r\n", script(drive + "\\x\\t.exe").substr(0, 4));
  for (const std::string other : {"@:", "[:", "`:", "{:", "D&"}) EXPECT_EQ("\r\n", script(other + "\\x\\t.exe").substr(0, 2));
  EXPECT_EQ("\r\ncd \"D&calc\"\r\n" + command, script("D&calc\\Dorvik.exe"));  // never run as a command
  EXPECT_EQ("pushd \"\\\\srv\\벤치 100%%\"\r\n" + command + "popd\r\n", script("\\\\srv\\벤치 100%\\Dorvik.exe"));
  // The longest folder cmd can make current is 258 UTF-16 units.
  std::string korean = "D:\\";
  for (int i = 0; i < 255; ++i) korean += "한";
  EXPECT_EQ("D:\r\ncd \"" + korean + "\"\r\n" + command, script(korean + "\\Dorvik.exe"));
  for (const std::string& tool : {korean + "a\\Dorvik.exe", std::string("Dorvik.exe"), std::string("D:\\a\"b\\Dorvik.exe"),
                                 std::string("\\\\srv\\a\"b\\Dorvik.exe")}) {
    EXPECT_EQ("", ComposeRunScript(FileDownloadInputs(tool, "E:\\l", "a.bin"), kStart)) << tool;
  }
  // The longest script line is 8191 characters; no control character but a tab may split one.
  const std::string fits(8191 - 4, 'x');
  EXPECT_EQ(fits + "2>&1", ScriptLines(ComposeToolRunScript("D:\\B\\T.exe", fits, kStart)).at(3));
  for (const std::string& bad : {fits + "x", std::string(), std::string("T.EXE \r\ncalc "), std::string("T \x1A"),
                                std::string("T \x7F")}) {
    EXPECT_EQ("", ComposeToolRunScript("D:\\B\\T.exe", bad, kStart));
  }
}

}  // namespace
