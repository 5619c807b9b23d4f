// "Start !!" with the real services: the file system, the command interpreter
// and the maker tool stand-in.
#include "platform/winservices.h"
#include "tests/win/bbcbwin/support.h"
#include "tests/win/runner/winsupport.h"

namespace {

TEST(BbcbWindowRealRun, StartMakesTheImageWithTheWindowsValues) {
  ScratchFolder scratch;
  const std::string programFolder = scratch.Make("program") + "\\";
  ScratchEnvironment env{programFolder, scratch.Make("user") + "\\"};
  WinFileSystem fs;
  WinProcessLauncher launcher;
  FakeSettingsStore store;
  FixedClock clock;
  clock.now = LocalTime{2011, 2, 1, 9, 5, 0};
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};

  const std::string tool = scratch.Make("bench tools") + "\\irdeto_make_bbcb.exe";
  ASSERT_TRUE(CopyInto(StandinPath("irdeto_make_bbcb.exe"), tool));
  const std::string config = scratch.Make("cfg & keys") + "\\box.cfg";
  ASSERT_TRUE(WriteFileText(config, "config\r\n"));
  const std::string output = scratch.Make("release 100%");
  const std::string record = scratch.Path() + "\\record.txt";
  ScopedEnv recordTo("QUINTOR_BBCB_RECORD", record);

  BbcbWindowDriver window(services);
  window.Open();
  files.answers = {{tool}, {config}};
  window.Click(IDC_BBCB_TOOL_OPEN);
  window.Click(IDC_BBCB_CONFIG_OPEN);
  folders.answers.push_back({IDOK, output});
  window.Click(IDC_BBCB_OUTPUT_SAVE);
  window.Type(IDC_BBCB_SN, "0012abcd");
  window.Type(IDC_BBCB_RN, "1A2B3C4D");
  window.Type(IDC_BBCB_MANUFACTURER_SN, "MF 001 & co");
  window.Click(IDC_BBCB_START);

  const std::string folder = output + "\\20110201_AM0905";
  EXPECT_EQ(ReadFileText(folder + "\\bbcb.bin"), "BBCB\r\nsn=0012abcd\r\nrn=1A2B3C4D\r\nmanufacturer_sn=MF 001 & co\r\n");
  EXPECT_EQ(ReadFileText(folder + "\\box.CFG"), "config\r\n");
  EXPECT_NE(ReadFileText(folder + "\\ReadMe.txt").find("\t-manufacturer_sn \"MF 001 & co\" \r\n"), std::string::npos);
  const std::string recorded = ReadFileText(record);
  EXPECT_NE(recorded.find("arg=" + folder + "\\bbcb.bin\r\n"), std::string::npos) << recorded;
  EXPECT_NE(ReadFileText(programFolder + "run_bbcb.bat").find("irdeto_make_bbcb.EXE -config "), std::string::npos);
  window.Close();
  std::string stored;
  RegistryValue(kValueText, kSettingsKeyPath, "BBCB_Path", store).Load(&stored);
  EXPECT_EQ(stored, tool);
}

}  // namespace
