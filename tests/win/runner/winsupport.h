// Helpers of the Windows tests of the run and the OS services: scratch
// folders, the stand-in tool, files as UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/wide.h"
#include "platform/winservices.h"

// A fresh folder under the temporary folder, removed with all it holds when
// the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // The folder, without a trailing backslash.
  const std::string& Path() const { return path_; }
  // Creates `relative` (one or more levels) below the folder; returns its path.
  std::string Make(const std::string& relative) const;

 private:
  std::string path_;
};

void RemoveTree(const std::wstring& path);
// Creates every missing level of `path`.
bool MakeFolders(const std::string& path);

// The system's services, but with the program in `programFolder` and the
// per-user folder `userFolder` (both ending with a backslash).
class ScratchEnvironment : public WinEnvironment {
 public:
  ScratchEnvironment(std::string programFolder, std::string userFolder)
      : programFolder_(std::move(programFolder)), userFolder_(std::move(userFolder)) {}
  std::string ExecutablePath() const override { return programFolder_ + "Quintor.exe"; }
  std::string UserDataFolder() const override { return userFolder_; }

 private:
  std::string programFolder_;
  std::string userFolder_;
};

// The built stand-in tool (Windows path).
std::string StandinPath(const char* exeName);
std::string ReadFileText(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);
bool CopyInto(const std::string& from, const std::string& to);

// Sets an environment variable of this process (and so of its children) for
// the object's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::wstring name_;
};

bool RunningUnderWine();
