// The OS services on Win32: files, the registry, child processes, where the
// program runs and the local time. Every path goes through FileApiPath
// (platform/wide.h).
#pragma once

#include <optional>
#include <string>

#include "core/services.h"

class WinFileSystem : public FileSystem {
 public:
  uint32_t FileSizeOrZero(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  // Writes a new file beside the target and moves it over the target only once
  // it is complete, so a failed write leaves the old file (or none) in place.
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
  bool CreateFolder(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
};

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// Named values under key paths of one registry root, through the wide
// functions. A 32-bit build sees the 32-bit view of the machine-wide root.
class WinRegistryStore : public SettingsStore {
 public:
  explicit WinRegistryStore(RegistryRoot root) : root_(root) {}
  // The whole value, whatever its size and registry type.
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override;
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override;

 private:
  RegistryRoot root_;
};

// A program named without a folder (the first word of a command line, such
// as "cmd.exe" or "notepad.exe") is taken from the system folder, or else the
// Windows folder, when it is there, and not from the current folder; other
// names are left to the usual search.
class WinProcessLauncher : public ProcessLauncher {
 public:
  // The capture file is opened (or created) with an inheritable handle, then
  // emptied, and given to the child as standard output and standard error;
  // the child's own console still opens. The wait is the one of
  // WaitKeepingWindowsPainted (platform/runguard.h).
  bool RunAndWait(const std::string& commandLine, const std::string& capturePath) override;
  bool StartDetached(const std::string& commandLine) override;
};

class WinEnvironment : public Environment {
 public:
  std::string ExecutablePath() const override;
  // "Quintor\" under the per-user local application data folder.
  std::string UserDataFolder() const override;
  // The console's code page when the program has a console (a child shares
  // it), otherwise the OEM code page a new console starts with.
  std::optional<std::string> EncodeForBatch(const std::string& text) const override;
  // The system's ANSI code page.
  std::optional<std::string> EncodeForAnsi(const std::string& text) const override;
};

class WinClock : public Clock {
 public:
  LocalTime Now() const override;
};
