// The main window: start-up state, settings across a close and a new start,
// the lock options, the tool and output choices, and "Start".
#include "tests/win/mainwin/support.h"

namespace {

const char kTool[] = "D:\\Bench\\Dorvik.exe";

}  // namespace

TEST_F(MainWindowTest, FirstStartWithoutSettingsShowsTheDefaults) {
  Open();
  EXPECT_EQ(SelectedText(IDC_PORT), "COM1");
  EXPECT_EQ(SelectedText(IDC_BAUD_RATE), "115200");
  EXPECT_EQ(SelectedText(IDC_DATA_BITS), "8 bit");
  EXPECT_EQ(SelectedText(IDC_STOP_BITS), "1 bit");
  EXPECT_EQ(SelectedText(IDC_PARITY), "None");
  EXPECT_EQ(SelectedText(IDC_COMMAND), "File Download");
  EXPECT_EQ(Text(IDC_TOOL_PATH), "");
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "");
  EXPECT_TRUE(Checked(IDC_DEBUG_PRINT));
  EXPECT_FALSE(Checked(IDC_DEBUG_CAPTURE));
  EXPECT_FALSE(Enabled(IDC_VIEW_LOG));
  for (int id : {IDC_SCS, IDC_JEI, IDC_CW}) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Checked(id)) << id;
  }
  EXPECT_EQ(SendMessageW(Item(IDC_COMMAND), CB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(Narrow(ModalWindowWatcher::Text(hwnd)), "Quintor");
}

TEST_F(MainWindowTest, ListViewsHaveTheirColumnsAndOnlyTheirTwoExtendedStyles) {
  Open();
  struct Column {
    int list, column, width;
  };
  for (const Column& c : {Column{IDC_DOWNLOAD_LIST, 0, 18}, Column{IDC_DOWNLOAD_LIST, 1, 0},
                          Column{IDC_DOWNLOAD_LIST, 2, 340}, Column{IDC_RUN_HISTORY, 0, 0},
                          Column{IDC_RUN_HISTORY, 1, 290}}) {
    EXPECT_EQ(SendMessageW(Item(c.list), LVM_GETCOLUMNWIDTH, c.column, 0), c.width) << c.list << "/" << c.column;
  }
  for (int list : {IDC_DOWNLOAD_LIST, IDC_RUN_HISTORY}) {
    EXPECT_EQ(SendMessageW(Item(list), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const LONG style = GetWindowLongW(Item(list), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(style & LVS_SINGLESEL);
  }
}

TEST_F(MainWindowTest, LockOptionsFollowTheCommandAndKeepTheirChecks) {
  Open();
  // Command list rows: codes 0, 1, 2, 6, 3, 4, 5, 7.
  const bool lockRows[] = {false, false, true, false, true, false, false, false};
  for (int row = 0; row < 8; ++row) {
    Select(IDC_COMMAND, row);
    for (int id : {IDC_SCS, IDC_JEI, IDC_CW}) EXPECT_EQ(Enabled(id), lockRows[row]) << "row " << row;
  }
  Select(IDC_COMMAND, 2);  // Irdeto Factory Lock
  SetCheck(IDC_SCS, true);
  SetCheck(IDC_CW, true);
  Select(IDC_COMMAND, 7);  // Hdcp Download
  EXPECT_FALSE(Enabled(IDC_SCS));
  EXPECT_TRUE(Checked(IDC_SCS));
  EXPECT_FALSE(Checked(IDC_JEI));
  EXPECT_TRUE(Checked(IDC_CW));
}

TEST_F(MainWindowTest, DebugCaptureEnablesViewLog) {
  Open();
  SetCheck(IDC_DEBUG_CAPTURE, true);
  EXPECT_TRUE(Enabled(IDC_VIEW_LOG));
  SetCheck(IDC_DEBUG_CAPTURE, false);
  EXPECT_FALSE(Enabled(IDC_VIEW_LOG));
}

TEST_F(MainWindowTest, SettingsSurviveACloseByEscAndANewStart) {
  Open();
  ChooseTool(kTool);
  EXPECT_EQ(Text(IDC_TOOL_PATH), kTool);
  Select(IDC_PORT, 2);
  Select(IDC_BAUD_RATE, 6);
  Select(IDC_DATA_BITS, 1);
  Select(IDC_STOP_BITS, 1);
  Select(IDC_PARITY, 2);
  Select(IDC_COMMAND, 2);
  files.answers.push_back({"G:\\out\\result.txt"});
  Click(IDC_OUTPUT_SAVE);
  SetCheck(IDC_DEBUG_PRINT, false);
  SetCheck(IDC_DEBUG_CAPTURE, true);
  Close();

  EXPECT_EQ(Stored("Dorvik_Path"), kTool);
  EXPECT_EQ(Stored("Serial_Port"), "3");
  EXPECT_EQ(Stored("Serial_Baudrate"), "57600");
  EXPECT_EQ(Stored("Serial_Data"), "6");
  EXPECT_EQ(Stored("Serial_Stopbits"), "1");
  EXPECT_EQ(Stored("Serial_Parity"), "2");
  EXPECT_EQ(Stored("Output_Path"), "G:\\out\\result.txt");
  EXPECT_EQ(Stored("Dvt_Path"), "");

  Open();
  EXPECT_EQ(Text(IDC_TOOL_PATH), kTool);
  EXPECT_EQ(SelectedText(IDC_PORT), "COM3");
  EXPECT_EQ(SelectedText(IDC_BAUD_RATE), "57600");
  EXPECT_EQ(SelectedText(IDC_DATA_BITS), "6 bit");
  EXPECT_EQ(SelectedText(IDC_STOP_BITS), "1.5 bit");
  EXPECT_EQ(SelectedText(IDC_PARITY), "Event");
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "G:\\out\\result.txt");
  // Not stored: the command, the switches and the lock options.
  EXPECT_EQ(SelectedText(IDC_COMMAND), "File Download");
  EXPECT_TRUE(Checked(IDC_DEBUG_PRINT));
  EXPECT_FALSE(Checked(IDC_DEBUG_CAPTURE));
  EXPECT_FALSE(Enabled(IDC_VIEW_LOG));
}

TEST_F(MainWindowTest, EveryWayOfClosingSaves) {
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  for (const Way& way : {Way{"Enter", WM_COMMAND, IDOK}, Way{"Esc", WM_COMMAND, IDCANCEL},
                         Way{"close box", WM_SYSCOMMAND, SC_CLOSE}}) {
    store.values.clear();
    Open();
    Select(IDC_PORT, 4);
    HWND window = hwnd;
    SendMessageW(window, way.message, way.wParam, 0);
    EXPECT_TRUE(PumpMessagesUntil([window] { return !IsWindow(window); })) << way.name;
    EXPECT_EQ(Stored("Serial_Port"), "5") << way.name;
    hwnd = nullptr;
    dialog.reset();
  }
}

TEST_F(MainWindowTest, StoredValuesOutsideTheirCatalogueLeaveTheListEmptyAndAreStoredBack) {
  Store("Serial_Port", "0");
  Store("Serial_Baudrate", "12345");
  Store("Serial_Data", "8");
  Store("Serial_Stopbits", "7");
  Store("Serial_Parity", "abc");  // no number: the default stays
  Store("Dvt_Path", "E:\\dvt images");
  Store("Output_Path", "G:\\missing\\out.txt");
  Store("Dorvik_Path", "D:\\gone\\Dorvik.exe");
  Open();
  EXPECT_EQ(Selection(IDC_PORT), -1);
  EXPECT_EQ(Selection(IDC_BAUD_RATE), -1);
  EXPECT_EQ(SelectedText(IDC_DATA_BITS), "8 bit");
  EXPECT_EQ(Selection(IDC_STOP_BITS), -1);
  EXPECT_EQ(SelectedText(IDC_PARITY), "None");
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "G:\\missing\\out.txt");
  EXPECT_EQ(Text(IDC_TOOL_PATH), "");
  Close();

  EXPECT_EQ(Stored("Serial_Port"), "0");
  EXPECT_EQ(Stored("Serial_Baudrate"), "12345");
  EXPECT_EQ(Stored("Serial_Stopbits"), "7");
  EXPECT_EQ(Stored("Serial_Parity"), "0");
  EXPECT_EQ(Stored("Dvt_Path"), "E:\\dvt images");
  EXPECT_EQ(Stored("Output_Path"), "G:\\missing\\out.txt");
  EXPECT_EQ(Stored("Dorvik_Path"), "");

  Open();
  EXPECT_EQ(Selection(IDC_BAUD_RATE), -1) << "the stored value still reads back";
}

TEST_F(MainWindowTest, ToolChoiceUsesTheExeFilterAndStartsAtTheCurrentTool) {
  Open();
  ChooseTool(kTool);
  files.answers.push_back({});  // cancelled
  Click(IDC_TOOL_OPEN);
  ASSERT_EQ(files.requests.size(), 2u);
  const FileDialogRequest& first = files.requests[0];
  EXPECT_EQ(first.kind, FileDialogRequest::Kind::kOpen);
  EXPECT_EQ(first.filter, "All File(*.exe)|*.exe||");
  EXPECT_TRUE(first.fileMustExist);
  EXPECT_FALSE(first.multiSelect);
  EXPECT_EQ(first.initialFolder, "");
  EXPECT_EQ(first.owner, hwnd);
  EXPECT_EQ(files.requests[1].initialFolder, kTool);
  EXPECT_EQ(Text(IDC_TOOL_PATH), kTool) << "a cancelled choice changes nothing";
}

TEST_F(MainWindowTest, OutputSaveAddsTxtOnlyWhenTheWholePathHasNoExtension) {
  struct Case {
    const char* chosen;
    const char* shown;
  };
  const Case cases[] = {
      {"C:\\out\\result", "C:\\out\\result.txt"},
      {"C:\\out\\result.log", "C:\\out\\result.log"},
      {"C:\\out\\result.", "C:\\out\\result..txt"},
      {"C:\\my.dir\\result", "C:\\my.dir\\result"},
      {"C:\\출력\\결과", "C:\\출력\\결과.txt"},
  };
  Open();
  for (const Case& c : cases) {
    files.answers.push_back({c.chosen});
    Click(IDC_OUTPUT_SAVE);
    EXPECT_EQ(Text(IDC_OUTPUT_PATH), c.shown) << c.chosen;
  }
  files.answers.push_back({});
  Click(IDC_OUTPUT_SAVE);
  EXPECT_EQ(Text(IDC_OUTPUT_PATH), "C:\\출력\\결과.txt") << "a cancelled choice changes nothing";

  const FileDialogRequest& request = files.requests.back();
  EXPECT_EQ(request.kind, FileDialogRequest::Kind::kSave);
  EXPECT_FALSE(request.fileMustExist) << "the tool creates the output file";
  EXPECT_EQ(request.filter, "All File(*.*)|*.*||");
  EXPECT_EQ(request.initialFolder, "C:\\출력\\결과.txt");
  EXPECT_EQ(files.requests.front().initialFolder, "");
}

TEST_F(MainWindowTest, OutputFileViewOpensOnlyAnExistingNonEmptyFileWithoutWaiting) {
  Open();
  Click(IDC_OUTPUT_VIEW);  // no output path
  files.answers.push_back({"G:\\out\\result.txt"});
  Click(IDC_OUTPUT_SAVE);
  Click(IDC_OUTPUT_VIEW);  // not written yet
  fs.AddFile("G:\\out\\result.txt", "");
  Click(IDC_OUTPUT_VIEW);  // empty
  EXPECT_TRUE(launcher.calls.empty());

  fs.AddFile("G:\\out\\result.txt", "OK");
  Click(IDC_OUTPUT_VIEW);
  files.answers.push_back({"G:\\my results\\run 1.txt"});
  Click(IDC_OUTPUT_SAVE);
  fs.AddFile("G:\\my results\\run 1.txt", "OK");
  Click(IDC_OUTPUT_VIEW);
  ASSERT_EQ(launcher.calls.size(), 2u);
  EXPECT_EQ(launcher.calls[0].commandLine, "notepad.exe G:\\out\\result.txt");
  EXPECT_FALSE(launcher.calls[0].waited);
  EXPECT_EQ(launcher.calls[1].commandLine, "notepad.exe \"G:\\my results\\run 1.txt\"");
}

TEST_F(MainWindowTest, ViewLogOpensTheCaptureLog) {
  Open();
  SetCheck(IDC_DEBUG_CAPTURE, true);
  Click(IDC_VIEW_LOG);
  EXPECT_TRUE(launcher.calls.empty()) << "no log yet";
  fs.AddFile("C:\\Program Files\\Quintor\\Quintor_Log.txt", "output");
  Click(IDC_VIEW_LOG);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].commandLine, "notepad.exe \"C:\\Program Files\\Quintor\\Quintor_Log.txt\"");
  EXPECT_FALSE(launcher.calls[0].waited);
}

// Example 1: File Download with the first checked row.
TEST_F(MainWindowTest, StartFileDownloadWritesTheScriptAndTheHistoryRows) {
  Open();
  ChooseTool(kTool);
  Insert({"E:\\load\\bbcb.bin", "E:\\load\\dev002.sdl", "E:\\load\\devkey.dnl"});
  SetRowChecked(1, true);
  SetRowChecked(2, true);
  Click(IDC_START);

  EXPECT_EQ(fs.Content(ScriptPath()),
            "REM 2011.03.07. 14:05\r\n"
            "D:\r\n"
            "cd D:\\Bench\r\n"
            "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 E:\\load\\dev002.SDL -d 2>&1\r\n");
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_TRUE(launcher.calls[0].waited);
  EXPECT_EQ(launcher.calls[0].capturePath, "");
  EXPECT_EQ(History(), (std::vector<std::string>{"[2011.03.07. 14:05]", "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ",
                                                 "dev002.SDL ", " "}));
  EXPECT_EQ(HistorySelection(), std::vector<bool>(4, true));
}

// Example 2: Irdeto Factory Lock with two rows, lock options and an output file.
TEST_F(MainWindowTest, StartFactoryLockWritesTheScriptAndTheHistoryRows) {
  Open();
  ChooseTool(kTool);
  Select(IDC_PORT, 2);
  Select(IDC_BAUD_RATE, 6);
  Select(IDC_STOP_BITS, 2);
  Select(IDC_PARITY, 1);
  Select(IDC_COMMAND, 2);
  Insert({"E:\\load\\bbcb.bin", "F:\\keys\\mankey.dnl"});
  SetRowChecked(0, true);
  SetRowChecked(1, true);
  SetCheck(IDC_SCS, true);
  SetCheck(IDC_CW, true);
  files.answers.push_back({"G:\\out\\result.txt"});
  Click(IDC_OUTPUT_SAVE);
  SetCheck(IDC_DEBUG_PRINT, false);
  SetCheck(IDC_DEBUG_CAPTURE, true);
  Click(IDC_START);

  EXPECT_EQ(fs.Content(ScriptPath()),
            "REM 2011.03.07. 14:05\r\n"
            "D:\r\n"
            "cd D:\\Bench\r\n"
            "Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 -cmd irdeto_factory_lock -arg0 E:\\load\\bbcb.BIN "
            "-arg1 F:\\keys\\mankey.DNL -arg2 \"SCS|CW\" -output G:\\out\\result.txt 2>&1\r\n");
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].capturePath, "C:\\Program Files\\Quintor\\Quintor_Log.txt");
  EXPECT_EQ(History(), (std::vector<std::string>{"[2011.03.07. 14:05]", "Dorvik.EXE -c 3 -b 6 -n 8 -s 2 -p 1 ",
                                                 "-cmd irdeto_factory_lock ", "-arg0 bbcb.BIN ", "-arg1 mankey.DNL ",
                                                 "-arg2 \"SCS|CW\" ", "-output result.TXT ", " "}));

  // A second run: only its own rows are highlighted.
  clock.now.minute = 6;
  Click(IDC_START);
  ASSERT_EQ(RowCount(IDC_RUN_HISTORY), 16);
  EXPECT_EQ(History()[8], "[2011.03.07. 14:06]");
  std::vector<bool> expected(8, false);
  expected.resize(16, true);
  EXPECT_EQ(HistorySelection(), expected);
}

TEST_F(MainWindowTest, AStartThatCannotRunAddsNoRows) {
  Open();
  Insert({"E:\\load\\bbcb.bin"});
  SetRowChecked(0, true);
  Click(IDC_START);  // no tool chosen
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_FALSE(fs.Has(ScriptPath()));

  ChooseTool(kTool);
  launcher.startable = false;
  Click(IDC_START);  // the script cannot be started
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(RowCount(IDC_RUN_HISTORY), 0);

  launcher.startable = true;
  Menu(ID_POPUP_DELETE);  // the inserted row is still selected
  Click(IDC_START);       // File Download with an empty list
  EXPECT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(RowCount(IDC_RUN_HISTORY), 0);
}

TEST_F(MainWindowTest, SecureCheckRunsWithAnEmptyList) {
  Open();
  ChooseTool(kTool);
  Select(IDC_COMMAND, 5);  // Irdeto Secure Check
  Click(IDC_START);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(History(), (std::vector<std::string>{"[2011.03.07. 14:05]", "Dorvik.EXE -c 1 -b 7 -n 8 -s 0 -p 0 -d ",
                                                 "-cmd irdeto_secure_check ", " "}));
}
