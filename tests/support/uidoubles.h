// The doubles of every service a window uses; the system's dialogs answer
// with the next scripted choice, or as cancelled when none is left.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "uisupport/uiservices.h"

struct ScriptedDialogs : FileDialogs, FolderPicker {
  std::vector<std::string> Choose(const FileDialogRequest&) override { return Next(files); }
  std::optional<std::string> ChooseFolder(HWND, const std::string&, const std::string&) override {
    return Next(folders);
  }
  template <class T>
  static T Next(std::deque<T>& answers) {
    if (answers.empty()) return T();
    T next = answers.front();
    answers.pop_front();
    return next;
  }
  std::deque<std::vector<std::string>> files;
  std::deque<std::optional<std::string>> folders;
};

struct UiDoubles : FakeServices {
  ScriptedDialogs dialogs;
  UiServices ui{services, store, clock, dialogs, dialogs};
};
