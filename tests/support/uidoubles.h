// The doubles of every service a window uses; the system's dialogs answer
// with the next scripted choice, or as cancelled when none is left.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "uisupport/uiservices.h"

// Each request is recorded as one line: what is asked and where it starts.
struct ScriptedDialogs : FileDialogs, FolderPicker {
  std::vector<std::string> Choose(const FileDialogRequest& request) override {
    asked.push_back((request.kind == FileDialogRequest::kSave ? "save " : "open ") +
                    std::string(request.multiSelect ? "many " : "") + request.filter + " at " + request.initialFolder);
    return Next(files);
  }
  std::optional<std::string> ChooseFolder(HWND, const std::string& title, const std::string& initial) override {
    asked.push_back("folder " + title + " at " + initial);
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
  std::vector<std::string> asked;
};

struct UiDoubles : FakeServices {
  ScriptedDialogs dialogs;
  UiServices ui{services, store, clock, dialogs, dialogs};
};
