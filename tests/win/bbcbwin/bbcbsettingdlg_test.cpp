// The BBCB Setting window with doubles of the services: the hex fields and
// limits as typed, the stored values across openings and closings, the
// choosers, "Start !!", the template, and its opening from the main window.
#include <functional>

#include "mainwin/quintordlg.h"
#include "tests/win/bbcbwin/support.h"

const char* const kBbcbSettingNames[7] = {"BBCB_Path", "BBCB_Config", "BBCB_SN", "BBCB_RN",
                                          "BBCB_Menufacturer_SN", "BBCB_Menufacturer_Mac", "BBCB_Output"};

namespace {

const char kTool[] = "D:\\Bench\\BBCB\\irdeto_make_bbcb.exe";
const char kConfig[] = "E:\\cfg\\box.cfg";
const char kOutput[] = "G:\\rel";
const char kScript[] = "C:\\Program Files\\Quintor\\run_bbcb.bat";

const int kMacIds[] = {IDC_BBCB_MAC1, IDC_BBCB_MAC2, IDC_BBCB_MAC3, IDC_BBCB_MAC4, IDC_BBCB_MAC5, IDC_BBCB_MAC6};

// Declared before the driver, so they outlive the window it may still hold.
struct FakeServices {
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FixedClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};
};

class BbcbWindow : public ::testing::Test, protected FakeServices, public BbcbWindowDriver {
 protected:
  BbcbWindow() : BbcbWindowDriver(services) {}
  void SetUp() override { clock.now = LocalTime{2011, 3, 15, 14, 45, 0}; }

  void ChooseTool(const std::string& path) {
    fs.AddFile(path, "MZ");
    files.answers.push_back({path});
    Click(IDC_BBCB_TOOL_OPEN);
  }
  void ChooseConfig(const std::string& path) {
    fs.AddFile(path, "cfg");
    files.answers.push_back({path});
    Click(IDC_BBCB_CONFIG_OPEN);
  }
  void ChooseOutput(const std::string& folder) {
    folders.answers.push_back({IDOK, folder});
    Click(IDC_BBCB_OUTPUT_SAVE);
  }
  // Everything a run needs, as the operator enters it.
  void FillRequired() {
    ChooseTool(kTool);
    ChooseConfig(kConfig);
    ChooseOutput(kOutput);
    Type(IDC_BBCB_SN, "0012ABCD");
    Type(IDC_BBCB_RN, "1A2B3C4D");
    Type(IDC_BBCB_MANUFACTURER_SN, "MF001");
  }
};

TEST_F(BbcbWindow, HexFieldsKeepOnlyHexDigitsAsTyped) {
  struct Case {
    int id;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {IDC_BBCB_SN, "G1h2", "12"},
      {IDC_BBCB_SN, "0x1F-z9", "01F9"},
      {IDC_BBCB_RN, "ab CD:ef", "abCDef"},
      {IDC_BBCB_RN, "1한2", "12"},
      {IDC_BBCB_MAC1, "0:a", "0a"},
      {IDC_BBCB_MAC6, "-F", "F"},
      // Not filtered: any characters.
      {IDC_BBCB_MANUFACTURER_SN, "MF 001, \"x\" 한", "MF 001, \"x\" 한"},
  };
  for (const Case& c : cases) {
    Close();
    store.values.clear();
    Open();
    Type(c.id, c.typed);
    EXPECT_EQ(Text(c.id), c.shown) << c.typed;
  }
  EXPECT_TRUE(dialog->messages.empty());
}

TEST_F(BbcbWindow, CaretStaysAfterTheDigitsItFollowed) {
  Open();
  Type(IDC_BBCB_SN, "1234");
  HWND edit = Item(IDC_BBCB_SN);
  SendMessageW(edit, EM_SETSEL, 2, 2);
  for (wchar_t c : std::wstring(L"x9")) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(Text(IDC_BBCB_SN), "12934");
}

TEST_F(BbcbWindow, FieldsRefuseTypingBeyondTheirLimits) {
  struct Case {
    int id;
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {
      {IDC_BBCB_SN, "0123456789", "01234567"},
      {IDC_BBCB_RN, "abcdefABCDEF", "abcdefAB"},
      {IDC_BBCB_MANUFACTURER_SN, "ABCDEFGHIJ KLMNOPQRST UVWXYZ 0123", "ABCDEFGHIJ KLMNOPQRST UVWXYZ 01"},
      {IDC_BBCB_MAC3, "1a2", "1a"},
  };
  for (const Case& c : cases) {
    Close();
    store.values.clear();
    Open();
    Type(c.id, c.typed);
    EXPECT_EQ(Text(c.id), c.kept);
  }
  EXPECT_TRUE(dialog->messages.empty());
}

TEST_F(BbcbWindow, SettingsComeBackAtTheNextOpening) {
  Open();
  ChooseTool(kTool);
  ChooseConfig(kConfig);
  ChooseOutput(kOutput);
  Type(IDC_BBCB_SN, "0012abcd");
  Type(IDC_BBCB_RN, "1A2B3C4D");
  Type(IDC_BBCB_MANUFACTURER_SN, "MF 001 \"A\"");
  const char* typedMac[] = {"0", "1a", "B", "3c", "d", "5E"};
  for (int i = 0; i < 6; ++i) Type(kMacIds[i], typedMac[i]);
  Close();
  EXPECT_EQ(Stored("BBCB_Menufacturer_Mac"), "001a0B3c0d5E");

  Open();
  EXPECT_EQ(Text(IDC_BBCB_TOOL_PATH), kTool);
  EXPECT_EQ(Text(IDC_BBCB_CONFIG_PATH), kConfig);
  EXPECT_EQ(Text(IDC_BBCB_OUTPUT_FOLDER), kOutput);
  EXPECT_EQ(Text(IDC_BBCB_SN), "0012abcd");
  EXPECT_EQ(Text(IDC_BBCB_RN), "1A2B3C4D");
  EXPECT_EQ(Text(IDC_BBCB_MANUFACTURER_SN), "MF 001 \"A\"");
  const char* shownMac[] = {"00", "1a", "0B", "3c", "0d", "5E"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(kMacIds[i]), shownMac[i]) << i;
}

TEST_F(BbcbWindow, StoredTextsShowAsStoredUntilEdited) {
  Put("BBCB_SN", "12-34");
  Put("BBCB_Menufacturer_Mac", "001A2B3C4D5E");
  Open();
  EXPECT_EQ(Text(IDC_BBCB_SN), "12-34");
  const char* mac[] = {"00", "1A", "2B", "3C", "4D", "5E"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(kMacIds[i]), mac[i]);
  Type(IDC_BBCB_SN, "5");
  EXPECT_EQ(Text(IDC_BBCB_SN), "12345");
}

TEST_F(BbcbWindow, VanishedPathsAreNotShownAndAreStoredEmpty) {
  Put("BBCB_Path", "D:\\gone\\irdeto_make_bbcb.exe");
  Put("BBCB_Config", kConfig);
  fs.AddFile(kConfig, "cfg");
  Put("BBCB_Output", "G:\\no such folder");
  Open();
  EXPECT_EQ(Text(IDC_BBCB_TOOL_PATH), "");
  EXPECT_EQ(Text(IDC_BBCB_CONFIG_PATH), kConfig);
  // The config file goes while the window is open.
  fs.files.erase(FakeFileSystem::Key(kConfig));
  Close();
  EXPECT_EQ(Stored("BBCB_Path"), "");
  EXPECT_EQ(Stored("BBCB_Config"), "");
  EXPECT_EQ(Stored("BBCB_Output"), "G:\\no such folder");
}

TEST_F(BbcbWindow, EveryWayOfClosingSavesAllSeven) {
  struct Way {
    const char* name;
    std::function<void(HWND, RecordingBbcbDlg&)> close;
  };
  const Way ways[] = {
      {"Enter", [](HWND w, RecordingBbcbDlg&) { SendMessageW(w, WM_COMMAND, IDOK, 0); }},
      {"Esc", [](HWND w, RecordingBbcbDlg&) { SendMessageW(w, WM_COMMAND, IDCANCEL, 0); }},
      {"close box", [](HWND w, RecordingBbcbDlg&) { SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"destroyed", [](HWND, RecordingBbcbDlg& d) { d.Destroy(); }},
  };
  for (const Way& way : ways) {
    store.values.clear();
    store.writes.clear();
    Open();
    Type(IDC_BBCB_SN, "abc");
    Type(IDC_BBCB_MAC2, "7");
    HWND window = hwnd;
    way.close(window, *dialog);
    EXPECT_TRUE(PumpMessagesUntil([window] { return !IsWindow(window); })) << way.name;
    const std::vector<std::string> order(kBbcbSettingNames, kBbcbSettingNames + 7);
    EXPECT_EQ(store.writes, order) << way.name;
    EXPECT_EQ(Stored("BBCB_SN"), "abc") << way.name;
    EXPECT_EQ(Stored("BBCB_Menufacturer_Mac"), ":07::::") << way.name;
    hwnd = nullptr;
    dialog.reset();
  }
}

TEST_F(BbcbWindow, StartWritesTheScriptAndFillsTheStampedFolder) {
  const std::string folder = std::string(kOutput) + "\\20110315_PM1445";
  launcher.onRun = [&](const std::string&, const std::string&) { fs.AddFile(folder + "\\bbcb.bin", "BBCB"); };
  Open();
  FillRequired();
  Click(IDC_BBCB_START);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].capturePath, "");
  EXPECT_EQ(fs.Content(kScript),
            "D:\r\ncd D:\\Bench\\BBCB\r\nirdeto_make_bbcb.EXE -config E:\\cfg\\box.cfg -sn 0012ABCD -rn 1A2B3C4D "
            "-manufacturer_sn \"MF001\" -output G:\\rel\\20110315_PM1445\\bbcb.bin\r\n");
  EXPECT_TRUE(fs.FolderExists(folder));
  EXPECT_EQ(fs.Content(folder + "\\box.CFG"), "cfg");
  EXPECT_NE(fs.Content(folder + "\\ReadMe.txt").find("* 2011.03.15. PM 14:45 - Make Bbcb.Bin \r\n"),
            std::string::npos);
  ASSERT_TRUE(dialog->StartTime().has_value());
  EXPECT_EQ(dialog->StartTime()->minute, 45);
  // Nothing shown; the fields keep their texts.
  EXPECT_TRUE(dialog->messages.empty());
  EXPECT_EQ(Text(IDC_BBCB_SN), "0012ABCD");

  // Each press takes its own time.
  clock.now = LocalTime{2011, 3, 15, 9, 5, 0};
  Click(IDC_BBCB_START);
  EXPECT_TRUE(fs.FolderExists(std::string(kOutput) + "\\20110315_AM0905"));
}

TEST_F(BbcbWindow, StartWithARequiredValueEmptyDoesNothing) {
  const int typed[] = {IDC_BBCB_SN, IDC_BBCB_RN, IDC_BBCB_MANUFACTURER_SN};
  for (int missing = 0; missing < 6; ++missing) {
    Close();
    store.values.clear();
    fs.files.clear();
    fs.folders.clear();
    launcher.calls.clear();
    Open();
    if (missing != 0) ChooseTool(kTool);
    if (missing != 1) ChooseConfig(kConfig);
    if (missing != 2) ChooseOutput(kOutput);
    for (int i = 0; i < 3; ++i) {
      if (missing != 3 + i) Type(typed[i], "1A");
    }
    Click(IDC_BBCB_START);
    EXPECT_TRUE(launcher.calls.empty()) << missing;
    EXPECT_FALSE(fs.Has(kScript)) << missing;
    EXPECT_TRUE(fs.folders.empty()) << missing;
    EXPECT_TRUE(dialog->messages.empty()) << missing;
  }
}

TEST_F(BbcbWindow, AStoredTextBeyondItsLimitIsRefusedAtStartAndKeptAtClose) {
  Put("BBCB_SN", "0123456789");
  Open();
  FillRequired();
  // Typing more is refused by the field.
  EXPECT_EQ(Text(IDC_BBCB_SN), "0123456789");
  Click(IDC_BBCB_START);
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_FALSE(fs.Has(kScript));
  ASSERT_EQ(dialog->messages.size(), 1u);
  EXPECT_EQ(dialog->messages[0], "Please enter no more than 8 characters.");
  Close();
  EXPECT_EQ(Stored("BBCB_SN"), "0123456789");
  EXPECT_EQ(Stored("BBCB_Output"), kOutput);
}

TEST_F(BbcbWindow, OpenDialogsGetTheirFilterAndStartAtTheCurrentPath) {
  struct Chooser {
    int button;
    int shown;
    const char* filter;
    const char* path;
  };
  const Chooser choosers[] = {
      {IDC_BBCB_TOOL_OPEN, IDC_BBCB_TOOL_PATH, "All File(*.exe)|*.exe||", kTool},
      {IDC_BBCB_CONFIG_OPEN, IDC_BBCB_CONFIG_PATH, "All File(*.cfg)|*.cfg||", kConfig},
  };
  for (const Chooser& c : choosers) {
    files.requests.clear();
    Open();
    Click(c.button);  // cancelled
    files.answers.push_back({c.path});
    Click(c.button);
    Click(c.button);  // cancelled again
    ASSERT_EQ(files.requests.size(), 3u);
    for (const FileDialogRequest& r : files.requests) {
      EXPECT_EQ(r.kind, FileDialogRequest::Kind::kOpen);
      EXPECT_EQ(r.filter, c.filter);
      EXPECT_EQ(r.owner, hwnd);
      EXPECT_TRUE(r.fileMustExist);
      EXPECT_FALSE(r.multiSelect);
    }
    EXPECT_EQ(files.requests[0].initialFolder, "");
    EXPECT_EQ(files.requests[1].initialFolder, "");
    EXPECT_EQ(files.requests[2].initialFolder, c.path);
    EXPECT_EQ(Text(c.shown), c.path);
  }
}

TEST_F(BbcbWindow, SaveAsksThePickerForTheReleaseFolder) {
  Put("BBCB_Output", "G:\\old");
  Open();
  folders.answers = {{IDOK, "G:\\rel"}, {IDCANCEL, ""}, {-1, "::{virtual}"}, {IDOK, "C:\\"}};
  const char* initial[] = {"G:\\old", "G:\\rel", "G:\\rel", "G:\\rel"};
  const char* shown[] = {"G:\\rel", "G:\\rel", "G:\\rel", "C:\\"};
  for (int i = 0; i < 4; ++i) {
    Click(IDC_BBCB_OUTPUT_SAVE);
    ASSERT_EQ(folders.requests.size(), static_cast<size_t>(i + 1));
    const FolderPickRequest& r = folders.requests.back();
    EXPECT_EQ(r.title, "Select the release folder for browse dialog");
    EXPECT_EQ(r.owner, hwnd);
    EXPECT_EQ(r.flags, 0x51u);
    EXPECT_EQ(r.initialFolder, initial[i]) << i;
    EXPECT_EQ(Text(IDC_BBCB_OUTPUT_FOLDER), shown[i]) << i;
  }
}

TEST_F(BbcbWindow, TemplateHoldsEveryTableIdAndTheTextsInOrder) {
  Open();
  EXPECT_EQ(Narrow(ModalWindowWatcher::Text(hwnd)), "BBCB Setting");
  std::vector<int> ids = dialog->HandlerControlIds();
  const std::vector<int> exchanged = dialog->ExchangeControlIds();
  ids.insert(ids.end(), exchanged.begin(), exchanged.end());
  EXPECT_EQ(ids.size(), 12u + 12u);
  for (int id : ids) EXPECT_NE(Item(id), nullptr) << id;

  std::vector<std::string> texts;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = Narrow(ModalWindowWatcher::Text(child));
    if (!text.empty()) texts.push_back(text);
  }
  const std::vector<std::string> expected = {
      "Parameter Setting", "\"irdeto_make_bbcb.exe\" Open", "Config :", "Open", "S/N :", "R/N :",
      "Menufacturer S/N :", "Menufacturer Mac :", "Output :", "Save", "Start !!"};
  EXPECT_EQ(texts, expected);

  // The tab order the operator walks.
  std::vector<int> tabs;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) tabs.push_back(GetDlgCtrlID(child));
  }
  const std::vector<int> order = {IDC_BBCB_TOOL_OPEN, IDC_BBCB_CONFIG_OPEN, IDC_BBCB_SN, IDC_BBCB_RN,
                                  IDC_BBCB_MANUFACTURER_SN, IDC_BBCB_MAC1, IDC_BBCB_MAC2, IDC_BBCB_MAC3,
                                  IDC_BBCB_MAC4, IDC_BBCB_MAC5, IDC_BBCB_MAC6, IDC_BBCB_OUTPUT_SAVE,
                                  IDC_BBCB_START};
  EXPECT_EQ(tabs, order);
}

TEST_F(BbcbWindow, MainWindowOpensItModallyAndSharesOnlyTheSettings) {
  CQuintorDlg main(services);
  HWND mainHwnd = main.CreateModeless();
  ASSERT_NE(mainHwnd, nullptr);
  Put("BBCB_SN", "00AB");
  bool opened = false;
  ModalWindowWatcher watcher([&](HWND bbcb) {
    if (Narrow(ModalWindowWatcher::Text(bbcb)) != "BBCB Setting") return false;
    opened = true;
    EXPECT_EQ(GetWindow(bbcb, GW_OWNER), mainHwnd);
    EXPECT_FALSE(IsWindowEnabled(mainHwnd));
    EXPECT_EQ(Narrow(ModalWindowWatcher::Text(GetDlgItem(bbcb, IDC_BBCB_SN))), "00AB");
    SetWindowTextW(GetDlgItem(bbcb, IDC_BBCB_RN), L"77");
    return ModalWindowWatcher::Press(bbcb, IDCANCEL);
  });
  SendMessageW(mainHwnd, WM_COMMAND, MAKEWPARAM(IDC_BBCB_SETTING, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(mainHwnd, IDC_BBCB_SETTING)));
  EXPECT_TRUE(opened);
  EXPECT_TRUE(IsWindowEnabled(mainHwnd));
  EXPECT_EQ(Stored("BBCB_RN"), "77");
  SendMessageW(mainHwnd, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
