#include <gtest/gtest.h>

#include "bbcb/bbcbjob.h"
#include "bbcb/bbcbsettings.h"
#include "core/paths.h"
#include "core/settings.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"

namespace {

// The fake services with a maker tool that writes its -sn as bbcb.bin where the script's -output names.
class BbcbJob : public ::testing::Test, protected FakeServices {
 protected:
  const std::string script = GetModuleFolder(env) + "run_bbcb.bat";
  BbcbInputs in{"D:\\Bench\\irdeto_make_bbcb.exe", "E:\\cfg\\box.cfg", "G:\\rel", "0012ABCD", "1A2B3C4D", "MF001", {}};
  void SetUp() override {
    fs.AddFile("E:\\cfg\\box.cfg", "config");
    launcher.onRun = [this](const std::string&, const std::string&) {
      const std::string line = ScriptLines(fs.Content(script)).back(), sn = line.substr(line.find(" -sn ") + 5);
      fs.AddFile(line.substr(line.find(" -output ") + 9), sn.substr(0, sn.find(' ')));
    };
  }
  BbcbRun Start() { return StartBbcbRun(services, clock, in); }
  void ExpectNothingDone(BbcbRunStatus status) {
    EXPECT_EQ(status, Start().status);
    EXPECT_TRUE(fs.files.size() == 1 && fs.folders.empty() && launcher.calls.empty());
  }
};

TEST_F(BbcbJob, RunsLeaveImageConfigCopyAndReadMeInTheirOwnFolders) {
  const BbcbRun run = Start();
  ASSERT_EQ(BbcbRunStatus::kOk, run.status);
  EXPECT_EQ("D:\r\ncd D:\\Bench\r\nirdeto_make_bbcb.EXE -config E:\\cfg\\box.cfg -sn 0012ABCD -rn 1A2B3C4D "
            "-manufacturer_sn \"MF001\" -output G:\\rel\\20110315_PM1445\\bbcb.bin\r\n", fs.Content(script));
  EXPECT_EQ("config", fs.Content("G:\\rel\\20110315_PM1445\\box.CFG"));
  EXPECT_EQ("* 2011.03.15. PM 14:45 - Make Bbcb.Bin \r\n\r\nirdeto_make_bbcb.EXE \r\n\t-config box.cfg \r\n"
            "\t-sn 0012ABCD \r\n\t-rn 1A2B3C4D \r\n\t-manufacturer_sn \"MF001\" \r\n\t\r\n\t-output bbcb.bin\r\n\r\n",
            fs.Content("G:\\rel\\20110315_PM1445\\ReadMe.txt"));
  EXPECT_TRUE(run.output.imageFound && run.output.configCopied && run.output.readMeWritten && fs.held.empty());
  EXPECT_FALSE(FinishBbcbOutput(fs, env, BbcbInputs{}, run.stampedFolder).readMeWritten);  // no command line
  // The next run of that minute takes the next folder; an image of one byte is
  // an image; a ReadMe the ANSI code page cannot hold is UTF-8 after a mark.
  in.serialNumber = "1", in.manufacturerSn = "한국";
  EXPECT_EQ("G:\\rel\\20110315_PM1445_2", Start().stampedFolder);
  EXPECT_EQ("1 0012ABCD", fs.Content(run.stampedFolder + "_2\\bbcb.bin") + " " + fs.Content(run.stampedFolder + "\\bbcb.bin"));
  EXPECT_EQ(0u, fs.Content(run.stampedFolder + "_2\\ReadMe.txt").find("\xEF\xBB\xBF* 2011.03.15. PM 14:45"));
  in.outputFolder = "F:\\";  // a drive's root, used as given
  EXPECT_EQ("F:\\\\20110315_PM1445", Start().stampedFolder);
}

TEST_F(BbcbJob, NothingClaimsAnImageThatWasNotMade) {
  for (std::string BbcbInputs::*field : {&BbcbInputs::toolPath, &BbcbInputs::configPath, &BbcbInputs::outputFolder,
                                         &BbcbInputs::serialNumber, &BbcbInputs::rn, &BbcbInputs::manufacturerSn}) {
    BbcbInputs kept = in;
    in.*field = "";
    ExpectNothingDone(BbcbRunStatus::kMissingValue);
    EXPECT_EQ("", BuildBbcbCommandLine(in, "G:\\rel\\x", {true, true, true, true, true, true}));
    in.*field = "a\"b";
    ExpectNothingDone(BbcbRunStatus::kUnsafeValue);
    in = kept;
  }
  fs.refused = {"C:\\"};
  ExpectNothingDone(BbcbRunStatus::kNoScript);
  fs.refused.clear(), fs.beforeHold = [this](const std::string& path) { fs.AddFile(path, "swapped"); };
  EXPECT_EQ(BbcbRunStatus::kNoScript, Start().status);
  EXPECT_TRUE(fs.folders.empty() && launcher.calls.empty());
  fs.beforeHold = nullptr, fs.refused = {"G:\\rel"};  // removed after it was chosen
  EXPECT_TRUE(Start().status == BbcbRunStatus::kNoFolder && launcher.calls.empty());
  EXPECT_NE(std::string::npos, fs.Content(script).find("PM1445\\bbcb.bin"));
  fs.refused.clear(), launcher.startable = false;
  EXPECT_EQ(BbcbRunStatus::kNotStarted, Start().status);
  launcher.startable = true, launcher.onRun = nullptr;  // the tool made nothing
  const BbcbRun run = Start();
  EXPECT_EQ(BbcbRunStatus::kOk, run.status);
  EXPECT_FALSE(run.output.imageFound || run.output.configCopied || run.output.readMeWritten);
  EXPECT_EQ("G:\\rel\\20110315_PM1445_2", run.stampedFolder);
  EXPECT_EQ(2u, fs.files.size());  // the config and the script
}

TEST(BbcbSettings, SevenValuesByName) {
  FakeSettingsStore store, again;
  FakeFileSystem fs;
  fs.AddFile("D:\\irdeto_make_bbcb.exe", "M");
  const char* const names[] = {"BBCB_Path", "BBCB_Config", "BBCB_SN", "BBCB_RN", "BBCB_Menufacturer_SN",
                               "BBCB_Menufacturer_Mac", "BBCB_Output"};
  const char* const texts[] = {"D:\\irdeto_make_bbcb.exe", "", "0012", "1a2b", "MF \"&\" 한", "0A1B2C3D4E5F", "G:\\r"};
  BbcbFields fields{texts[0], "E:\\gone.cfg", texts[2], texts[3], texts[4], {"0A", "1B", "2C", "3D", "4E", "5F"}, texts[6]};
  ExchangeBbcbSettings(store, fs, fields, SettingsMode::kSave);
  EXPECT_EQ(std::vector<std::string>(names, names + 7), store.writes);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Utf16Bytes(texts[i]), store.Bytes(kSettingsKeyPath, names[i])) << names[i];
  store.SetText(kSettingsKeyPath, "BBCB_Config", "E:\\gone.cfg");
  BbcbFields loaded;
  loaded.configPath = "kept";  // a path naming no file is not taken
  ExchangeBbcbSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ("kept", loaded.configPath);
  ExchangeBbcbSettings(again, fs, loaded, SettingsMode::kSave);  // the other fields save back as they were stored
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Utf16Bytes(texts[i]), again.Bytes(kSettingsKeyPath, names[i])) << names[i];
  store.SetText(kSettingsKeyPath, "BBCB_Path", "D:\\gone.exe"), ExchangeBbcbSettings(store, fs, loaded, SettingsMode::kLoad);
  EXPECT_EQ(texts[0], loaded.toolPath);
}

TEST(BbcbSettings, MacStoredFormsAndHexFilter) {
  using Mac = std::array<std::string, 6>;
  const std::pair<Mac, const char*> forms[] = {
      {{"0a", "01", "02", "03", "04", "05"}, "0a0102030405"}, {{"0A", "01", "", "", "", "5E"}, "0A:01::::5E"},
      {{"", "", "", "", "", "0f"}, ":::::0f"}, {{"가나", "다라", "마바", "사아", "자차", "카타"}, "가나다라마바사아자차카타"}};
  for (const auto& [mac, stored] : forms) {
    Mac back;
    EXPECT_TRUE(JoinBbcbMac(mac) == stored && SplitBbcbMac(stored, back) && back == mac) << stored;
  }
  EXPECT_EQ("0a0102030405", JoinBbcbMac({"a", "1", "2", "3", "4", "5"}));
  EXPECT_EQ("", JoinBbcbMac(Mac{}));
  for (const char* bad : {"", "001A2B3C4D5", "001A2B3C4D5E6", "\x80" "01A2B3C4D5E", "0A:1B:2C", "0A:1B::::::5E",
                          "0A:1G::::", "0A1:B::::"}) {
    Mac mac = {"k"};
    EXPECT_FALSE(SplitBbcbMac(bad, mac) || mac[0] != "k") << bad;
  }
  EXPECT_EQ("09AaFf", FilterHexText("G0g9/:@A`aFf[\xC3\xA9한"));
}

}  // namespace
