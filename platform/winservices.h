// The OS services on Win32. Every path goes through FileApiPath.
#pragma once

#include <optional>
#include <string>

#include "core/services.h"
#include "platform/runguard.h"

class WinFileSystem : public FileSystem {
 public:
  uint32_t FileSizeOrZero(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  // Written beside the target, then moved over it once complete.
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
  bool CreateFolder(const std::string& path) override;
  bool CopyFileOver(const std::string& from, const std::string& to) override;
  std::unique_ptr<FileHold> HoldUnchanged(const std::string& path, const std::string& bytes) override;
};

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// One registry root; a 32-bit build sees the 32-bit view of the machine root.
class WinRegistryStore : public SettingsStore {
 public:
  explicit WinRegistryStore(RegistryRoot root) : root_(root) {}
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override;
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override;

 private:
  RegistryRoot root_;
};

// A program named without a folder ("cmd.exe", "notepad.exe") is taken from
// the system folder, or else the Windows folder, never the current folder.
class WinProcessLauncher : public ProcessLauncher {
 public:
  // Runs show themselves on `taskbar`, when one is given.
  explicit WinProcessLauncher(Taskbar* taskbar = nullptr) : taskbar_(taskbar) {}
  // The child keeps its own console; the wait is WaitKeepingWindowsPainted.
  bool RunAndWait(const std::string& commandLine, const std::string& capturePath) override;
  bool StartDetached(const std::string& commandLine) override;

 private:
  Taskbar* taskbar_;
};

class WinEnvironment : public Environment {
 public:
  std::string ExecutablePath() const override;
  // "Quintor\" under the per-user local application data folder.
  std::string UserDataFolder() const override;
  // The console's code page, or the OEM code page a new console starts with.
  std::optional<std::string> EncodeForBatch(const std::string& text) const override;
  // The system's ANSI code page.
  std::optional<std::string> EncodeForAnsi(const std::string& text) const override;
};

class WinClock : public Clock {
 public:
  LocalTime Now() const override;
};
