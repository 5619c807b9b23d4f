// The doubles of every service a window uses, with the dialog seams
// answering as scripted.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "uisupport/uiservices.h"

// The next scripted answer; with none left, the default one: cancelled.
template <class T>
T NextAnswer(std::deque<T>& answers) {
  if (answers.empty()) return T();
  T next = answers.front();
  answers.pop_front();
  return next;
}

struct ScriptedFileDialogs : FileDialogs {
  std::vector<std::string> Choose(const FileDialogRequest&) override { return NextAnswer(answers); }
  std::deque<std::vector<std::string>> answers;
};

struct ScriptedFolderPicker : FolderPicker {
  std::optional<std::string> ChooseFolder(HWND, const std::string&, const std::string&) override {
    return NextAnswer(answers);
  }
  std::deque<std::optional<std::string>> answers;
};

struct UiDoubles : FakeServices {
  ScriptedFileDialogs files;
  ScriptedFolderPicker folders;
  UiServices ui{services, store, clock, files, folders};
};
