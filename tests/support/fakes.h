// Doubles of the operating-system services and small helpers of the portable tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/options.h"
#include "core/services.h"
#include "core/text.h"
#include "core/timestamp.h"
#include "invocation/toolcmdline.h"

// A UTF-8 text as UTF-16LE bytes: as this system stores a text value, with
// its terminating zero; as other writers may leave one, without.
inline std::string Utf16Bytes(const std::string& text, bool terminated = true) {
  std::string bytes;
  for (const char16_t c : Utf8ToUtf16(text)) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return terminated ? bytes + std::string(2, '\0') : bytes;
}

// FNV-1a: a long fixed table compared through one number instead of row by row.
inline uint64_t Fingerprint(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// Files and folders in memory; paths compare without regard to ASCII case, as on Windows. Paths beginning
// with one of `refused` take no new files, nor do held files; `beforeHold` acts just before a file is held.
struct FakeFileSystem : FileSystem {
  uint32_t FileSizeOrZero(const std::string& path) const override { return uint32_t(Content(path).size()); }
  bool FolderExists(const std::string& path) const override { return folders.count(Key(path)) > 0; }
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override {
    const bool taken = !IsRefused(path) && held.count(Key(path)) == 0;
    if (taken) files[Key(path)] = bytes;
    return taken;
  }
  bool CreateFolder(const std::string& path) override { return !IsRefused(path) && folders.insert(Key(path)).second; }
  bool CopyFileOver(const std::string& from, const std::string& to) override { return Has(from) && WriteFileBytes(to, Content(from)); }
  struct Hold : FileHold {
    Hold(std::multiset<std::string>& held, std::string key) : held(held), at(held.insert(key)) {}
    ~Hold() override { held.erase(at); }
    std::multiset<std::string>& held;
    std::multiset<std::string>::iterator at;
  };
  std::unique_ptr<FileHold> HoldUnchanged(const std::string& path, const std::string& bytes) override {
    if (beforeHold) beforeHold(path);
    return Has(path) && Content(path) == bytes ? std::make_unique<Hold>(held, Key(path)) : nullptr;
  }
  void AddFile(const std::string& path, const std::string& bytes) { files[Key(path)] = bytes; }
  void AddFolder(const std::string& path) { folders.insert(Key(path)); }
  bool Has(const std::string& path) const { return files.count(Key(path)) > 0; }
  std::string Content(const std::string& path) const { return Has(path) ? files.at(Key(path)) : std::string(); }
  static std::string Key(const std::string& path) { return AsciiUpper(path); }
  bool IsRefused(const std::string& path) const {
    return std::any_of(refused.begin(), refused.end(), [&](auto& p) { return Key(path).rfind(Key(p), 0) == 0; });
  }
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::vector<std::string> refused;
  std::multiset<std::string> held;
  std::function<void(const std::string&)> beforeHold;
};

// Batch scripts are read as UTF-8, or as ASCII only when `asciiBatchOnly`.
struct FakeEnvironment : Environment {
  std::string ExecutablePath() const override { return exePath; }
  std::string UserDataFolder() const override { return userFolder; }
  std::optional<std::string> EncodeForBatch(const std::string& text) const override {
    const bool ascii = std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    return ascii || !asciiBatchOnly ? std::optional<std::string>(text) : std::nullopt;
  }
  // A Western ANSI code page, near enough: the first 256 characters.
  std::optional<std::string> EncodeForAnsi(const std::string& text) const override {
    const std::u16string wide = Utf8ToUtf16(text);
    if (std::any_of(wide.begin(), wide.end(), [](char16_t c) { return c > 0xFF; })) return std::nullopt;
    return std::string(wide.begin(), wide.end());
  }
  bool asciiBatchOnly = false;
  std::string exePath = "C:\\Program Files\\Quintor\\Quintor.exe";
  std::string userFolder = "C:\\Users\\op\\AppData\\Local\\Quintor\\";
};

// Records each start as "command line > capture file", with " waited" when it
// was waited for; `startable` decides whether a start works.
struct FakeLauncher : ProcessLauncher {
  bool RunAndWait(const std::string& commandLine, const std::string& capturePath) override {
    calls.push_back(commandLine + " > " + capturePath + " waited");
    if (startable && onRun) onRun(commandLine, capturePath);
    return startable;
  }
  bool StartDetached(const std::string& commandLine) override { return calls.push_back(commandLine + " > "), startable; }
  std::vector<std::string> calls;
  bool startable = true;
  std::function<void(const std::string&, const std::string&)> onRun;
};

// Values under key paths; names compare without regard to case.
struct FakeSettingsStore : SettingsStore {
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override {
    return values.count(Key(keyPath, name)) ? std::optional<Value>(values.at(Key(keyPath, name))) : std::nullopt;
  }
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override {
    if (!refuseWrites) values[Key(keyPath, name)] = Value{kRegSz, bytes}, writes.push_back(name);
    return !refuseWrites;
  }
  void SetText(const std::string& keyPath, const std::string& name, const std::string& utf8) {
    values[Key(keyPath, name)] = Value{kRegSz, Utf16Bytes(utf8, false)};
  }
  std::string Bytes(const std::string& key, const std::string& name) const { return values.at(Key(key, name)).bytes; }
  static std::string Key(const std::string& key, const std::string& name) { return AsciiUpper(key + "|" + name); }
  std::map<std::string, Value> values;
  std::vector<std::string> writes;
  bool refuseWrites = false;
};

struct FakeClock : Clock {
  LocalTime Now() const override { return now; }
  LocalTime now{2011, 3, 15, 14, 45, 30};
};

// A File Download of one checked row on COM1, 115200, 8 bit, stop 0, parity 0.
inline ToolCommandInputs FileDownloadInputs(const std::string& toolPath, const std::string& folder,
                                            const std::string& file) {
  return {toolPath, 1, 115200, 8, 0, 0, kCmdFileDownload, {{true, folder, file}}, false, false, false, "", true};
}

// The lines of a script, each ended by CR LF; text after the last one is a line of its own, marked.
inline std::vector<std::string> ScriptLines(const std::string& script) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = script.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(script.substr(start, end - start));
  if (start < script.size()) lines.push_back("no CR LF: " + script.substr(start));
  return lines;
}

// The services of one test, and the run services over them.
struct FakeServices {
  FakeFileSystem fs;
  FakeSettingsStore store;
  FakeLauncher launcher;
  FakeEnvironment env;
  FakeClock clock;
  RunServices services{fs, launcher, env};
};
