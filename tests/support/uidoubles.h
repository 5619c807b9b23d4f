// Test doubles of the dialog seams, and the doubles of every service a window
// uses.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "uisupport/filedialogs.h"
#include "tests/support/fakes.h"
#include "uisupport/folderdialog.h"
#include "uisupport/uiservices.h"

// Answers each file dialog with the next scripted choice (none: cancelled).
class ScriptedFileDialogs : public FileDialogs {
 public:
  std::vector<std::string> Choose(const FileDialogRequest&) override {
    if (answers.empty()) return {};
    std::vector<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::vector<std::string>> answers;
};

// Answers each folder choice with the next scripted result and folder.
class ScriptedFolderPicker : public FolderPicker {
 public:
  int PickFolder(const FolderPickRequest&, std::string* folder) override {
    if (answers.empty()) return IDCANCEL;
    const std::pair<int, std::string> answer = answers.front();
    answers.pop_front();
    if (answer.first == IDOK) *folder = answer.second;
    return answer.first;
  }
  std::deque<std::pair<int, std::string>> answers;
};

struct UiDoubles {
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FakeClock clock;
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices services{{fs, launcher, env}, store, clock, files, folders};
};
