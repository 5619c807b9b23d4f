// The DVT Test window in-process: the case on screen and stepping, the title
// font and the colours, "Open" and the stored folder, "Test!!" and its script.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/mainsettings.h"
#include "core/settings.h"
#include "dvt/dvtcatalogue.h"
#include "dvt/dvttestdlg.h"
#include "invocation/script.h"
#include "platform/wide.h"
#include "platform/winservices.h"
#include "resources/resource.h"
#include "tests/support/fakes.h"
#include "tests/support/uidoubles.h"
#include "tests/win/runner/winsupport.h"

namespace {

const char kTool[] = "C:\\Tools\\Dorvik\\Dorvik.exe";
const char kDvt[] = "D:\\DVT";

// The eight case controls with what each shows of a case view.
struct CaseControl {
  int id;
  std::string DvtCaseView::*text;
};
const CaseControl kCaseControls[] = {
    {IDC_DVT_TITLE, &DvtCaseView::title},
    {IDC_DVT_FILE, &DvtCaseView::fileName},
    {IDC_DVT_TYPICAL_ERROR, &DvtCaseView::typicalError},
    {IDC_DVT_DESCRIPTION, &DvtCaseView::description},
    {IDC_DVT_SERIAL_RESULT, &DvtCaseView::serialResult},
    {IDC_DVT_OTA_RESULT, &DvtCaseView::otaResult},
    {IDC_DVT_INITIATION, &DvtCaseView::initiation},
    {IDC_DVT_ADDITIONAL, &DvtCaseView::additional},
};

// The real file system, with the examples' tool present.
class FileSystemWithTool : public WinFileSystem {
 public:
  uint32_t FileSizeOrZero(const std::string& path) const override {
    return path == kTool ? 2u : WinFileSystem::FileSizeOrZero(path);
  }
};

class DvtTestWindow : public ::testing::Test, public WindowDriver<CDvtTestDlg> {
 protected:
  ScratchFolder scratch;
  std::string programFolder = scratch.Make("program") + "\\";
  ScratchEnvironment env{programFolder, scratch.Make("user") + "\\"};
  FileSystemWithTool fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FixedClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};

  void SetUp() override { clock.now = LocalTime{2011, 3, 7, 14, 5, 0}; }
  void TearDown() override { Close(); }

  // The main window's example settings: COM1, 115200, 8 bit, stop-bit code
  // 0, parity code 0.
  void Open(const std::string& tool = kTool, std::vector<int32_t> positions = {0, 7, 3, 0, 0}) {
    ASSERT_TRUE(Show(new CDvtTestDlg(services, tool, positions[0], positions[1], positions[2], positions[3],
                                     positions[4])));
  }

  void Press(int id, int times) {
    for (int i = 0; i < times; ++i) Click(id);
  }
  std::string Text(int id) const { return Narrow(ModalWindowWatcher::Text(Item(id))); }

  // Every case control against the catalogue's view of `position`.
  void ExpectShowsCase(int position) {
    const std::optional<DvtCaseView> view = ComposeCaseView(position);
    ASSERT_TRUE(view.has_value());
    for (const CaseControl& c : kCaseControls) {
      EXPECT_EQ(Text(c.id), (*view).*c.text) << "case " << position << ", control " << c.id;
    }
  }

  std::string StoredFolder() {
    std::string folder = "<none>";
    LoadDvtFolder(store, &folder);
    return folder;
  }
  std::string ScriptPath() const { return programFolder + "run_Dvttest.bat"; }
};

TEST_F(DvtTestWindow, OpensOnCaseZeroWithItsExactTexts) {
  Open();
  EXPECT_EQ(Narrow(ModalWindowWatcher::Text(hwnd)), "DVT Test");
  EXPECT_EQ(Text(IDC_DVT_TITLE), "0. BBCB Download");
  EXPECT_EQ(Text(IDC_DVT_FILE), "* File Name : bbcb.bin");
  EXPECT_EQ(Text(IDC_DVT_TYPICAL_ERROR), "* Tppical Error : 0x8003001B");
  EXPECT_EQ(Text(IDC_DVT_DESCRIPTION), "");
  EXPECT_EQ(Text(IDC_DVT_SERIAL_RESULT), "");
  EXPECT_EQ(Text(IDC_DVT_OTA_RESULT), "=> N/A");
  EXPECT_EQ(Text(IDC_DVT_INITIATION), "* Initiation : SERIAL");
  EXPECT_EQ(Text(IDC_DVT_ADDITIONAL), "");
  // No stored folder: the folder line is empty.
  EXPECT_EQ(Text(IDC_DVT_FOLDER), "");
  EXPECT_TRUE(store.writes.empty());
}

TEST_F(DvtTestWindow, TitleLineAloneHasTheExtraBoldArialFont) {
  Open();
  HFONT title = reinterpret_cast<HFONT>(SendMessageW(Item(IDC_DVT_TITLE), WM_GETFONT, 0, 0));
  ASSERT_NE(title, nullptr);
  LOGFONTW font = {};
  ASSERT_NE(GetObjectW(title, sizeof font, &font), 0);
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfWeight, 800);
  EXPECT_EQ(font.lfHeight, 0);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
  const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  for (int id : {IDC_DVT_FOLDER, IDC_DVT_FILE, IDC_DVT_TYPICAL_ERROR, IDC_DVT_DESCRIPTION, IDC_DVT_INITIATION,
                 IDC_DVT_NEXT}) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Item(id), WM_GETFONT, 0, 0)), dialogFont) << id;
  }
}

TEST_F(DvtTestWindow, ThreeLinesAreColouredOnTheSystemsOwnBackground) {
  Open();
  const COLORREF normal = GetSysColor(COLOR_WINDOWTEXT);
  struct Row {
    int id;
    COLORREF text;
  };
  const Row rows[] = {
      {IDC_DVT_TITLE, RGB(39, 90, 244)},       {IDC_DVT_FILE, RGB(250, 67, 14)},
      {IDC_DVT_TYPICAL_ERROR, RGB(250, 67, 14)}, {IDC_DVT_FOLDER, normal},
      {IDC_DVT_DESCRIPTION, normal},           {IDC_DVT_OTA_RESULT, normal},
      {IDC_DVT_INITIATION, normal},            {IDC_DVT_ADDITIONAL, normal},
  };
  HDC reference = CreateCompatibleDC(nullptr);
  const LRESULT systemBrush =
      DefWindowProcW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(reference), reinterpret_cast<LPARAM>(Item(IDC_DVT_FOLDER)));
  const COLORREF systemBackground = GetBkColor(reference);
  DeleteDC(reference);
  ASSERT_NE(systemBrush, 0);
  for (const Row& row : rows) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT brush =
        SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(row.id)));
    EXPECT_EQ(brush, systemBrush) << row.id;
    EXPECT_EQ(GetTextColor(dc), row.text) << row.id;
    EXPECT_EQ(GetBkColor(dc), systemBackground) << row.id;
    DeleteDC(dc);
  }
}

TEST_F(DvtTestWindow, EachNextShowsTheFollowingCaseWhole) {
  Open();
  // Every step replaces all eight texts: a case without an additional text
  // after one with it (7 to 8) clears the block.
  for (int step = 1; step <= GetDvtTestCaseCount(); ++step) {
    Click(IDC_DVT_NEXT);
    ExpectShowsCase(step % GetDvtTestCaseCount());
  }
  EXPECT_EQ(Text(IDC_DVT_TITLE), "0. BBCB Download");
}

TEST_F(DvtTestWindow, SteppingWrapsRoundAtBothEnds) {
  struct Walk {
    int nexts, provs;  // "Next" pressed first, then "Prov"
    int expected;
  };
  const Walk walks[] = {{0, 1, 29}, {0, 2, 28}, {2, 1, 1}, {3, 30, 3}, {33, 0, 3}, {29, 0, 29}, {30, 0, 0}};
  for (const Walk& w : walks) {
    Open();
    Press(IDC_DVT_NEXT, w.nexts);
    Press(IDC_DVT_PROV, w.provs);
    ExpectShowsCase(w.expected);
  }
  Open();
  Click(IDC_DVT_PROV);
  EXPECT_EQ(Text(IDC_DVT_TITLE), "29. Key Sequence + 0x1000 Accept");
}

TEST_F(DvtTestWindow, KoreanTextsShowUnchanged) {
  Open();
  Press(IDC_DVT_NEXT, 7);
  EXPECT_EQ(Text(IDC_DVT_DESCRIPTION), "=> 디폴트 variant download 가 있는 Customer software 가 시도된다.");
  EXPECT_EQ(Text(IDC_DVT_ADDITIONAL),
            "=> 본 시리얼 다운로드가 완료되면 NVRAM 설정에 의해 IRD 가 OTA 실행하도록 설정될 수 있다.");
  EXPECT_EQ(Text(IDC_DVT_TYPICAL_ERROR), "* Tppical Error : N/A");
}

TEST_F(DvtTestWindow, OpenStoresTheChosenFolderAtOnceAndKeepsTheCase) {
  store.SetText(kSettingsKeyPath, "Dvt_Path", "E:\\old dvt");
  Open();
  EXPECT_EQ(Text(IDC_DVT_FOLDER), "E:\\old dvt");
  Press(IDC_DVT_NEXT, 4);
  folders.answers.push_back({IDOK, "F:\\Images\\DVT 한글"});
  Click(IDC_DVT_OPEN);

  ASSERT_EQ(folders.requests.size(), 1u);
  EXPECT_EQ(folders.requests[0].title, "Select the release folder for browse dialog");
  EXPECT_EQ(folders.requests[0].owner, hwnd);
  EXPECT_EQ(folders.requests[0].flags, 0x51u);
  EXPECT_EQ(folders.requests[0].initialFolder, "E:\\old dvt");
  EXPECT_EQ(Text(IDC_DVT_FOLDER), "F:\\Images\\DVT 한글");
  EXPECT_EQ(StoredFolder(), "F:\\Images\\DVT 한글");
  ExpectShowsCase(4);

  // The next opening starts at case 0 with the folder stored last.
  Open();
  ExpectShowsCase(0);
  EXPECT_EQ(Text(IDC_DVT_FOLDER), "F:\\Images\\DVT 한글");
  folders.answers.push_back({IDOK, "G:\\"});
  Click(IDC_DVT_OPEN);
  EXPECT_EQ(folders.requests.back().initialFolder, "F:\\Images\\DVT 한글");
  EXPECT_EQ(StoredFolder(), "G:\\");
}

TEST_F(DvtTestWindow, PickerWithoutAChoiceChangesNothing) {
  for (const int result : {IDCANCEL, -1}) {
    store.SetText(kSettingsKeyPath, "Dvt_Path", "E:\\kept");
    store.writes.clear();
    Open();
    folders.answers.push_back({result, "F:\\never"});
    Click(IDC_DVT_OPEN);
    EXPECT_EQ(Text(IDC_DVT_FOLDER), "E:\\kept") << result;
    EXPECT_EQ(StoredFolder(), "E:\\kept") << result;
    EXPECT_TRUE(store.writes.empty()) << result;
  }
}

TEST_F(DvtTestWindow, TestWritesTheScriptForTheCaseOnScreenAndStartsIt) {
  struct Row {
    int nexts;
    std::string line4;
  };
  const Row rows[] = {
      {1, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {0, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -cmd irdeto_dev_program -arg0 D:\\DVT\\bbcb.bin -d 2>&1"},
      {29, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Seqx1000.sdl -d 2>&1"},
  };
  store.SetText(kSettingsKeyPath, "Dvt_Path", kDvt);
  for (const Row& row : rows) {
    Open();
    Press(IDC_DVT_NEXT, row.nexts);
    launcher.calls.clear();
    Click(IDC_DVT_TEST_RUN);
    EXPECT_EQ(ReadFileText(ScriptPath()),
              "REM 2011.03.07. 14:05\r\nC:\r\ncd C:\\Tools\\Dorvik\r\n" + row.line4 + "\r\n")
        << "case " << row.nexts;
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].commandLine, ScriptStartCommand(ScriptPath()));
    EXPECT_TRUE(launcher.calls[0].waited);
    EXPECT_EQ(launcher.calls[0].capturePath, "");
    // The case on screen stays.
    ExpectShowsCase(row.nexts);
  }
}

TEST_F(DvtTestWindow, TestTakesTheTimeOfEachPress) {
  store.SetText(kSettingsKeyPath, "Dvt_Path", kDvt);
  Open();
  Click(IDC_DVT_TEST_RUN);
  clock.now = LocalTime{2012, 12, 31, 23, 59, 58};
  Click(IDC_DVT_TEST_RUN);
  EXPECT_EQ(launcher.calls.size(), 2u);
  EXPECT_EQ(ReadFileText(ScriptPath()).substr(0, 23), "REM 2012.12.31. 23:59\r\n");
}

TEST_F(DvtTestWindow, WithoutToolOrFolderNothingStartsAndAnOldScriptStays) {
  ASSERT_TRUE(WriteFileText(ScriptPath(), "older\r\n"));
  struct Row {
    const char* tool;
    const char* stored;  // null: no stored folder
  };
  const Row rows[] = {{"", kDvt}, {kTool, nullptr}, {kTool, ""}, {"", nullptr}};
  for (const Row& row : rows) {
    store.values.clear();
    if (row.stored) store.SetText(kSettingsKeyPath, "Dvt_Path", row.stored);
    Open(row.tool);
    Click(IDC_DVT_TEST_RUN);
    EXPECT_TRUE(launcher.calls.empty()) << "tool '" << row.tool << "'";
    EXPECT_EQ(ReadFileText(ScriptPath()), "older\r\n");
  }
  // Choosing a folder makes the run possible.
  Open(kTool);
  folders.answers.push_back({IDOK, kDvt});
  Click(IDC_DVT_OPEN);
  Click(IDC_DVT_TEST_RUN);
  EXPECT_EQ(launcher.calls.size(), 1u);
}

TEST_F(DvtTestWindow, PositionsOutsideTheirCataloguesPutNoPieceOnTheLine) {
  // A list without a selection hands over -1; that setting's piece is left
  // out and nothing is read outside a catalogue.
  struct Row {
    std::vector<int32_t> positions;
    std::string line4;
  };
  const Row rows[] = {
      {{-1, 7, 3, 0, 0}, "Dorvik.EXE -b 7 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{0, -1, 3, 0, 0}, "Dorvik.EXE -c 1 -n 8 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{0, 7, -1, 0, 0}, "Dorvik.EXE -c 1 -b 7 -s 0 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{0, 7, 3, -1, 0}, "Dorvik.EXE -c 1 -b 7 -n 8 -p 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{0, 7, 3, 0, -1}, "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{-1, -1, -1, -1, -1}, "Dorvik.EXE D:\\DVT\\Dev002.sdl -d 2>&1"},
      {{9, 8, 4, 3, 3}, "Dorvik.EXE D:\\DVT\\Dev002.sdl -d 2>&1"},
  };
  store.SetText(kSettingsKeyPath, "Dvt_Path", kDvt);
  for (const Row& row : rows) {
    Open(kTool, row.positions);
    Click(IDC_DVT_NEXT);
    Click(IDC_DVT_TEST_RUN);
    EXPECT_EQ(ReadFileText(ScriptPath()), "REM 2011.03.07. 14:05\r\nC:\r\ncd C:\\Tools\\Dorvik\r\n" + row.line4 + "\r\n");
  }
}

TEST_F(DvtTestWindow, AScriptThatCannotStartLeavesTheWindowAsItWas) {
  store.SetText(kSettingsKeyPath, "Dvt_Path", kDvt);
  launcher.startable = false;
  Open();
  Press(IDC_DVT_NEXT, 5);
  Click(IDC_DVT_TEST_RUN);
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_TRUE(IsWindow(hwnd));
  ExpectShowsCase(5);
  EXPECT_EQ(Text(IDC_DVT_FOLDER), kDvt);
}

TEST(DvtTestWindowTables, EveryTableIdExistsInTheTemplate) {
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FixedClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};
  CDvtTestDlg dialog(services, kTool, 0, 7, 3, 0, 0);
  HWND hwnd = dialog.CreateModeless();
  ASSERT_NE(hwnd, nullptr);
  const std::vector<int> handlers = dialog.HandlerControlIds();
  const std::vector<int> exchange = dialog.ExchangeControlIds();
  EXPECT_EQ(handlers.size(), 4u);
  EXPECT_EQ(exchange.size(), 9u);
  for (int id : handlers) EXPECT_NE(GetDlgItem(hwnd, id), nullptr) << "handler id " << id;
  for (int id : exchange) EXPECT_NE(GetDlgItem(hwnd, id), nullptr) << "exchange id " << id;
  dialog.Destroy();
}

}  // namespace
