// The shell file dialogs, driven for real: the operator's typing is put into
// the dialog's name field from inside its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "uisupport/filedialogs.h"
#include "platform/wide.h"
#include "tests/support/uidoubles.h"

namespace {

const int kFileNameField = 1152;

void WriteFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, "x", 1, &written, nullptr);
  CloseHandle(file);
}

// Types `text` into the name field of the next file dialog and confirms it.
ModalWindowWatcher TypeAndConfirm(const std::wstring& text) {
  return ModalWindowWatcher([text](HWND dialog) {
    SetDlgItemTextW(dialog, kFileNameField, text.c_str());
    return ModalWindowWatcher::Press(dialog, IDOK);
  });
}

}  // namespace

// More names than an 8191-character buffer holds: every file is returned.
TEST(ShellFileDialogs, MultiSelectionReturnsEveryFileWhateverTheirNumber) {
  const std::wstring folder = TestTempFolder(L"quintor_many_files");
  std::wstring typed;
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    const std::wstring name = L"download_image_with_a_long_name_" + std::to_wstring(1000 + i) + L".bin";
    WriteFile(folder + L"\\" + name);
    typed += L"\"" + name + L"\" ";
    expected.push_back(Narrow(folder + L"\\" + name));
  }
  ASSERT_GT(typed.size(), 8191u);

  ModalWindowWatcher watcher = TypeAndConfirm(typed);
  ShellFileDialogs dialogs;
  FileDialogRequest request;
  request.filter = "Irdeto Download File(*.bin)|*.bin|All Files(*.*)|*.*||";
  request.multiSelect = true;
  request.fileMustExist = true;
  request.initialFolder = Narrow(folder);
  std::vector<std::string> chosen = dialogs.Choose(request);
  ASSERT_EQ(chosen.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(chosen[i], expected[i]);
}

// The output file is created by the tool later: a new name is a valid choice.
TEST(ShellFileDialogs, SaveAcceptsAFileThatDoesNotExistYet) {
  const std::wstring folder = TestTempFolder(L"quintor_save");
  DeleteFileW((folder + L"\\result.log").c_str());
  ModalWindowWatcher watcher = TypeAndConfirm(folder + L"\\result.log");
  ShellFileDialogs dialogs;
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::kSave;
  request.filter = "All File(*.*)|*.*||";
  std::vector<std::string> chosen = dialogs.Choose(request);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], Narrow(folder + L"\\result.log"));
}

TEST(ShellFileDialogs, CancelReturnsNothing) {
  ModalWindowWatcher watcher([](HWND dialog) { return ModalWindowWatcher::Press(dialog, IDCANCEL); });
  ShellFileDialogs dialogs;
  FileDialogRequest request;
  request.filter = "All File(*.exe)|*.exe||";
  EXPECT_TRUE(dialogs.Choose(request).empty());
  EXPECT_EQ(watcher.handled(), 1);
}

TEST(ParseFileFilter, SplitsDisplayTextsAndPatterns) {
  struct Case {
    const char* filter;
    std::vector<std::pair<std::string, std::string>> pairs;
  };
  const Case cases[] = {
      {"All File(*.exe)|*.exe||", {{"All File(*.exe)", "*.exe"}}},
      {"Irdeto Download File(*.bin,*.dnl,*.sdl,*.vdl,*.kfb)|*.bin;*.dnl;*.sdl;*.vdl;*.kfb|All Files(*.*)|*.*||",
       {{"Irdeto Download File(*.bin,*.dnl,*.sdl,*.vdl,*.kfb)", "*.bin;*.dnl;*.sdl;*.vdl;*.kfb"},
        {"All Files(*.*)", "*.*"}}},
      {"", {}},
      {"Text only", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFileFilter(c.filter), c.pairs) << c.filter;
}

TEST(ResolveInitialFolder, TakesTheFolderOfAFileAndDropsWhatDoesNotExist) {
  const std::wstring folder = TestTempFolder(L"quintor_initial");
  WriteFile(folder + L"\\Dorvik.exe");
  const std::string f = Narrow(folder);
  EXPECT_EQ(ResolveInitialFolder(f), f);
  EXPECT_EQ(ResolveInitialFolder(f + "\\Dorvik.exe"), f);
  EXPECT_EQ(ResolveInitialFolder(f + "\\gone.txt"), f);
  EXPECT_EQ(ResolveInitialFolder(f + "\\no such folder\\gone.txt"), "");
  EXPECT_EQ(ResolveInitialFolder(""), "");
  EXPECT_EQ(ResolveInitialFolder("C:\\x.txt"), "C:\\");
}
