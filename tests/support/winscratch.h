// The real system for the Windows tests: a scratch folder, environment variables for the stand-in
// tool, and the OS services with the program's folder elsewhere.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "platform/wide.h"
#include "platform/winservices.h"
#include "tests/support/fakes.h"

// A fresh folder under the temporary folder, removed with all it holds (also
// when a killed run of a process of the same id left it).
struct ScratchFolder {
  ScratchFolder() { Remove(), std::filesystem::create_directory(Widen(path)); }
  ~ScratchFolder() { Remove(); }
  void Remove() const { std::error_code ignored; std::filesystem::remove_all(L"\\\\?\\" + Widen(path), ignored); }
  // Creates `relative` below the folder and returns its path.
  std::string Make(const std::string& relative) const {
    return std::filesystem::create_directories(Widen(path + "\\" + relative)), path + "\\" + relative;
  }
  static inline int counter = 0;
  const std::string name = "quintor-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
  const std::string path = Narrow((std::filesystem::temp_directory_path() / name).wstring());
};

// Sets an environment variable of this process and its children while alive.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(Widen(name)) {
    SetEnvironmentVariableW(this->name.c_str(), Widen(value).c_str());
  }
  ~ScopedEnv() { SetEnvironmentVariableW(name.c_str(), nullptr); }
  std::wstring name;
};

// The system's services, with the program's folder elsewhere.
struct ScratchEnvironment : WinEnvironment {
  explicit ScratchEnvironment(std::string folder) : program(std::move(folder)) {}
  std::string ExecutablePath() const override { return program + "Quintor.exe"; }
  std::string program;
};

inline std::string ReadFileText(const std::string& path) {
  std::ifstream file(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A copy of the stand-in tool, built beside the tests' folder, as `path`.
inline bool CopyStandIn(const std::string& path) {
  const std::string tests = WinEnvironment().ExecutablePath();
  const std::string standin = tests.substr(0, tests.rfind('\\')) + "\\..\\standins\\Dorvik.exe";
  return CopyFileW(Widen(standin).c_str(), Widen(path).c_str(), FALSE) != FALSE;
}

// The system's services over a scratch folder: the program's folder in it, its name holding
// characters a script's start must carry; the stand-in's record and run log beside it.
struct RealServices {
  explicit RealServices(Taskbar* taskbar = nullptr) : launcher(taskbar) {}
  size_t Runs() const { return ScriptLines(ReadFileText(scratch.path + "\\runs.txt")).size(); }
  ScratchFolder scratch;
  ScopedEnv recordTo{"DORVIK_RECORD", scratch.path + "\\record.txt"};
  ScopedEnv runLogTo{"DORVIK_RUNLOG", scratch.path + "\\runs.txt"};
  ScratchEnvironment env{scratch.Make("Prog & Co (x86) ^ \xED\x95\x9C !") + "\\"};
  WinFileSystem fs;
  WinProcessLauncher launcher;
  RunServices services{fs, launcher, env};
};
