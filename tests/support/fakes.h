// Test doubles of the operating-system services.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/services.h"
#include "core/text.h"

// Files and folders in memory. Paths compare without regard to ASCII case,
// as on Windows. Folders listed in `refused` take no new files.
class FakeFileSystem : public FileSystem {
 public:
  uint32_t FileSizeOrZero(const std::string& path) const override {
    auto it = files.find(Key(path));
    return it == files.end() ? 0 : static_cast<uint32_t>(it->second.size());
  }
  bool FolderExists(const std::string& path) const override { return folders.count(Key(path)) > 0; }
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override {
    if (IsRefused(path)) return false;
    files[Key(path)] = bytes;
    return true;
  }
  bool CreateFolder(const std::string& path) override {
    if (IsRefused(path)) return false;
    return folders.insert(Key(path)).second;
  }
  bool CopyFileOver(const std::string& from, const std::string& to) override {
    auto it = files.find(Key(from));
    if (it == files.end() || IsRefused(to)) return false;
    files[Key(to)] = it->second;
    return true;
  }

  void AddFile(const std::string& path, const std::string& bytes) { files[Key(path)] = bytes; }
  void AddFolder(const std::string& path) { folders.insert(Key(path)); }
  bool Has(const std::string& path) const { return files.count(Key(path)) > 0; }
  std::string Content(const std::string& path) const {
    auto it = files.find(Key(path));
    return it == files.end() ? std::string() : it->second;
  }
  static std::string Key(const std::string& path) { return AsciiUpper(path); }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::vector<std::string> refused;  // path prefixes, upper case

 private:
  bool IsRefused(const std::string& path) const {
    const std::string key = Key(path);
    for (const std::string& prefix : refused) {
      if (key.compare(0, prefix.size(), AsciiUpper(prefix)) == 0) return true;
    }
    return false;
  }
};

class FakeEnvironment : public Environment {
 public:
  std::string ExecutablePath() const override { return exePath; }
  std::string UserDataFolder() const override { return userFolder; }
  // Batch scripts are read as UTF-8, or as ASCII only when `asciiBatchOnly`.
  std::optional<std::string> EncodeForBatch(const std::string& text) const override {
    if (asciiBatchOnly) {
      for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
      }
    }
    return text;
  }
  // A Western ANSI code page, near enough: the first 256 characters.
  std::optional<std::string> EncodeForAnsi(const std::string& text) const override {
    std::string bytes;
    for (const char16_t c : Utf8ToUtf16(text)) {
      if (c > 0xFF) return std::nullopt;
      bytes += static_cast<char>(c);
    }
    return bytes;
  }
  bool asciiBatchOnly = false;
  std::string exePath = "C:\\Program Files\\Quintor\\Quintor.exe";
  std::string userFolder = "C:\\Users\\op\\AppData\\Local\\Quintor\\";
};

// Records what would have been started; `startable` decides whether a start works.
class FakeLauncher : public ProcessLauncher {
 public:
  struct Call {
    std::string commandLine;
    std::string capturePath;
    bool waited;
  };
  bool RunAndWait(const std::string& commandLine, const std::string& capturePath) override {
    calls.push_back({commandLine, capturePath, true});
    if (startable && onRun) onRun(commandLine, capturePath);
    return startable;
  }
  bool StartDetached(const std::string& commandLine) override {
    calls.push_back({commandLine, std::string(), false});
    return startable;
  }
  std::vector<Call> calls;
  bool startable = true;
  std::function<void(const std::string&, const std::string&)> onRun;
};

// Values under key paths; names compare without regard to case.
class FakeSettingsStore : public SettingsStore {
 public:
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override {
    ++reads;
    auto it = values.find(Key(keyPath, name));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override {
    if (refuseWrites) return false;
    values[Key(keyPath, name)] = Value{kRegSz, bytes};
    writes.push_back(name);
    return true;
  }
  void SetText(const std::string& keyPath, const std::string& name, const std::string& utf8) {
    const std::u16string w = Utf8ToUtf16(utf8);
    std::string bytes;
    for (char16_t c : w) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    values[Key(keyPath, name)] = Value{kRegSz, bytes};
  }
  static std::string Key(const std::string& keyPath, const std::string& name) {
    return AsciiUpper(keyPath) + "|" + AsciiUpper(name);
  }

  std::map<std::string, Value> values;
  std::vector<std::string> writes;
  bool refuseWrites = false;
  mutable int reads = 0;
};
