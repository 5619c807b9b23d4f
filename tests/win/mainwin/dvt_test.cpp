// The main window's side of the DVT runner: the DVT Test window opened from
// it, and the DVT file set inserted into its list.
#include "tests/win/mainwin/support.h"

namespace {

// Opens the DVT Test window from the main window and lets `act` work in it
// before closing it with Esc. Returns the window's folder line as it opened.
std::string InDvtWindow(HWND main, const std::function<void(HWND)>& act, bool* opened) {
  std::string folderLine;
  ModalWindowWatcher watcher([&](HWND dvt) {
    if (Narrow(ModalWindowWatcher::Text(dvt)) != "DVT Test") return false;
    folderLine = Narrow(ModalWindowWatcher::Text(GetDlgItem(dvt, IDC_DVT_FOLDER)));
    act(dvt);
    *opened = true;
    return ModalWindowWatcher::Press(dvt, IDCANCEL);
  });
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_DVT_TEST, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_DVT_TEST)));
  return folderLine;
}

TEST_F(MainWindowTest, DvtFileInsertReplacesTheListWithTheImagesPresentAndStoresTheFolder) {
  fs.AddFile("D:\\DVT\\dev002.sdl", "x");
  fs.AddFile("D:\\DVT\\SEQX1000.SDL", "x");
  fs.AddFile("D:\\DVT\\bbcb.bin", "");  // empty: left out
  Open();
  Insert({"E:\\load\\other.bin"});
  folders.answers.push_back({IDOK, "D:\\DVT"});
  Menu(ID_POPUP_DVT_FILE_INSERT);
  ASSERT_EQ(folders.requests.size(), 1u);
  EXPECT_EQ(folders.requests[0].title, "Select the Dvt Test folder for browse dialog");
  EXPECT_EQ(folders.requests[0].flags, 0x51u);
  const std::vector<ListRow> expected = {{false, "D:\\DVT", "dev002.sdl", true}, {false, "D:\\DVT", "seqx1000.sdl", true}};
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(Stored("Dvt_Path"), "D:\\DVT");

  // A cancelled choice changes nothing.
  folders.answers.push_back({IDCANCEL, ""});
  Menu(ID_POPUP_DVT_FILE_INSERT);
  EXPECT_EQ(folders.requests.back().initialFolder, "D:\\DVT");
  EXPECT_EQ(Rows(), expected);
}

TEST_F(MainWindowTest, TheLatestDvtFolderChoiceIsKeptWhereverItWasMade) {
  Store("Dvt_Path", "D:\\start");
  Open();
  // Chosen in the DVT Test window: survives the main window's close.
  folders.answers.push_back({IDOK, "D:\\chosen in dvt"});
  bool opened = false;
  const std::string shown = InDvtWindow(hwnd, [](HWND dvt) { ModalWindowWatcher::Press(dvt, IDC_DVT_OPEN); }, &opened);
  ASSERT_TRUE(opened);
  EXPECT_EQ(shown, "D:\\start");
  EXPECT_EQ(Stored("Dvt_Path"), "D:\\chosen in dvt");

  // Chosen in the main window afterwards: the DVT Test window starts from it,
  // and the file set starts from the DVT window's choice.
  folders.answers.push_back({IDOK, "D:\\chosen in main"});
  Menu(ID_POPUP_DVT_FILE_INSERT);
  EXPECT_EQ(folders.requests.back().initialFolder, "D:\\chosen in dvt");
  opened = false;
  EXPECT_EQ(InDvtWindow(hwnd, [](HWND) {}, &opened), "D:\\chosen in main");
  ASSERT_TRUE(opened);

  Close();
  EXPECT_EQ(Stored("Dvt_Path"), "D:\\chosen in main");
}

TEST_F(MainWindowTest, DvtTestWindowGetsTheToolAndTheListPositions) {
  Store("Serial_Baudrate", "12345");  // in no catalogue row: position -1
  Open();
  ChooseTool("C:\\Tools\\Dorvik\\Dorvik.exe");
  Select(IDC_PORT, 2);
  Store("Dvt_Path", "D:\\DVT");
  bool opened = false;
  InDvtWindow(hwnd, [](HWND dvt) { ModalWindowWatcher::Press(dvt, IDC_DVT_TEST_RUN); }, &opened);
  ASSERT_TRUE(opened);
  ASSERT_EQ(launcher.calls.size(), 1u);
  const std::string script = fs.Content("C:\\Program Files\\Quintor\\run_Dvttest.bat");
  EXPECT_NE(script.find("Dorvik.EXE -c 3 -n 8 -s 0 -p 0 -cmd irdeto_dev_program -arg0 D:\\DVT\\bbcb.bin -d 2>&1\r\n"),
            std::string::npos)
      << script;
}

}  // namespace
