// Operating-system services that the system's logic uses, as small
// interfaces. The Win32 implementations live in platform/; tests use doubles.
// All texts are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/timestamp.h"

// A file held by FileSystem::HoldUnchanged; let go when the object ends.
class FileHold {
 public:
  virtual ~FileHold() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Size in bytes (0xFFFFFFFF for 4 GiB and more); 0 when the file is
  // missing, is empty or is a folder, or cannot be looked at.
  virtual uint32_t FileSizeOrZero(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& path) const = 0;
  // Creates or truncates the file and writes `bytes` exactly; a file that
  // could not be written whole is not left behind half written.
  virtual bool WriteFileBytes(const std::string& path, const std::string& bytes) = 0;
  // Creates one folder level; false also when it already exists.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Replaces an existing `to`.
  virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
  // Opens the file again so that others may read it but neither write,
  // delete nor rename it, and checks that it holds exactly `bytes`. Null
  // when it cannot be held so or holds anything else.
  virtual std::unique_ptr<FileHold> HoldUnchanged(const std::string& path, const std::string& bytes) = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts `commandLine` and waits until it has ended; false when it could
  // not be started. With a non-empty `capturePath` the child's standard
  // output and error go to that file, emptied first (uncaptured when it
  // cannot be opened). While waiting, the windows keep painting but take no
  // input.
  virtual bool RunAndWait(const std::string& commandLine, const std::string& capturePath) = 0;
  // Starts `commandLine` without waiting for it.
  virtual bool StartDetached(const std::string& commandLine) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // Full path of the running program's executable file.
  virtual std::string ExecutablePath() const = 0;
  // The per-user folder for files the program folder refuses, ending with a
  // backslash (a "Quintor" folder under %LOCALAPPDATA%), which may not exist
  // yet; empty when unknown.
  virtual std::string UserDataFolder() const = 0;
  // `text` as the bytes from which the command interpreter reads the same
  // characters back out of a batch script (in the code page a new console
  // starts with). Nothing when a character has no exact form there.
  virtual std::optional<std::string> EncodeForBatch(const std::string& text) const = 0;
  // `text` in the ANSI code page, in which narrow programs (the text viewer)
  // read a file without a byte-order mark; nothing as above.
  virtual std::optional<std::string> EncodeForAnsi(const std::string& text) const = 0;
};

// Registry value types as the store reports them.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

// Named values under key paths of one root (the machine-wide root for the
// Win32 implementation). Data are the raw bytes as stored: a text value is
// UTF-16LE, written with its terminating zero; one read may lack it.
class SettingsStore {
 public:
  struct Value {
    uint32_t type = kRegNone;
    std::string bytes;
  };
  virtual ~SettingsStore() = default;
  // Nothing when the key or the value is missing or cannot be read.
  virtual std::optional<Value> Read(const std::string& keyPath, const std::string& name) const = 0;
  // Writes `bytes` as a REG_SZ value, creating the key path. False when refused.
  virtual bool Write(const std::string& keyPath, const std::string& name,
                     const std::string& bytes) = 0;
};

// A drop-down list of the non-editable kind, as the catalogue code needs it.
// Positions are 0-based; -1 means "no selection".
class OptionList {
 public:
  virtual ~OptionList() = default;
  virtual void InsertString(int position, const std::string& text) = 0;
  virtual void SetCurSel(int position) = 0;
  virtual int GetCurSel() const = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// The services a run uses.
struct RunServices {
  FileSystem& fs;
  ProcessLauncher& launcher;
  const Environment& env;
};
