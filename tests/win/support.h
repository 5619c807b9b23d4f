// What both Windows test programs use: scratch folders, the stand-in tools
// and environment variables for them.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "platform/wide.h"

// A fresh folder under the temporary folder, removed with all it holds.
struct ScratchFolder {
  ScratchFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path = Narrow(temp) + "quintor-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    CreateDirectoryW(Widen(path).c_str(), nullptr);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(L"\\\\?\\" + Widen(path), ignored);
  }
  // Creates `relative` below the folder and returns its path.
  std::string Make(const std::string& relative) const {
    std::filesystem::create_directories(Widen(path + "\\" + relative));
    return path + "\\" + relative;
  }
  std::string path;
};

// Copies the built stand-in `exeName` to `path`.
inline bool InstallStandin(const char* exeName, const std::string& path) {
  const std::string from = std::string(QUINTOR_STANDIN_DIR) + "\\" + exeName;
  return CopyFileW(Widen(from).c_str(), Widen(path).c_str(), FALSE) != FALSE;
}

// Sets an environment variable of this process and its children while alive.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(Widen(name)) {
    SetEnvironmentVariableW(this->name.c_str(), Widen(value).c_str());
  }
  ~ScopedEnv() { SetEnvironmentVariableW(name.c_str(), nullptr); }
  std::wstring name;
};
