// Stand-in for the serial flashing tool Dorvik.exe, used by the tests and the
// demo. It talks to no box: it records what it was given and behaves like a
// console tool.
//
// Every run:
// - overwrites the record file (UTF-8, lines end in CR LF) with
//     cmdline=<the exact command line, GetCommandLineW>
//     cwd=<the current folder>
//     argc=<number of arguments, the program name included>
//     arg0=<program name as given>
//     arg1=<first argument> ... one line per argument, split by
//     CommandLineToArgvW (the C runtime's rules for the values it can carry)
//   A CR or LF inside a value is written as {CR} or {LF}, so every value stays
//   on its line. The record file is named by the environment variable
//   DORVIK_RECORD, or is "Dorvik_record.txt" beside this program.
// - appends its command line as one line to the run log named by DORVIK_RUNLOG,
//   or "Dorvik_runs.txt" beside this program, so a test can count runs.
// - prints a few lines on standard output and one on standard error.
// - with "-output <path>", writes that file: a title line and the arguments.
//
// Behaviour switches, all environment variables:
//   DORVIK_PROBE        a file this run tries to open for writing, then to
//                       delete; the record gets "probe=" and what another
//                       user could do to it: "write", "delete", both, or none
//   DORVIK_SIGNAL_EVENT sets the named event once the record is written
//   DORVIK_SLEEP_MS     waits this long before ending (a long flash)
//   DORVIK_WAIT_EVENT   waits (at most 20 s) until the named event is set
//   DORVIK_OUTPUT_MB    writes this many megabytes of text to standard output
//   DORVIK_EXIT_CODE    ends with this exit code (default 0)
//   DORVIK_CRASH        when "1", ends as a crashed process does (status
//                       0xC0000005) without raising a real fault, so no crash
//                       dialog can hold up a test
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const std::wstring& w) {
  if (w.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring EnvVar(const wchar_t* name) {
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring value(size, L'\0');
  size = GetEnvironmentVariableW(name, &value[0], size);
  value.resize(size);
  return value;
}

std::wstring ExeFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(size, L'\0');
  dir.resize(GetCurrentDirectoryW(size, &dir[0]));
  return dir;
}

std::string OneLine(std::string value) {
  std::string out;
  for (const char c : value) {
    if (c == '\r') {
      out += "{CR}";
    } else if (c == '\n') {
      out += "{LF}";
    } else {
      out += c;
    }
  }
  return out;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes, bool append) {
  const HANDLE h = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

void Print(FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

unsigned long NumberVar(const wchar_t* name) {
  const std::wstring v = EnvVar(name);
  return v.empty() ? 0 : std::wcstoul(v.c_str(), nullptr, 10);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return 99;
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(ToUtf8(argv[i]));
  const std::string commandLine = ToUtf8(GetCommandLineW());

  std::string record = "cmdline=" + OneLine(commandLine) + "\r\n";
  record += "cwd=" + OneLine(ToUtf8(CurrentFolder())) + "\r\n";
  record += "argc=" + std::to_string(argc) + "\r\n";
  for (size_t i = 0; i < args.size(); ++i) record += "arg" + std::to_string(i) + "=" + OneLine(args[i]) + "\r\n";

  const std::wstring probe = EnvVar(L"DORVIK_PROBE");
  if (!probe.empty()) {
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool writable = h != INVALID_HANDLE_VALUE;
    if (writable) CloseHandle(h);
    const bool deleted = DeleteFileW(probe.c_str()) != FALSE;
    record += std::string("probe=") + (writable ? "write " : "") + (deleted ? "delete" : "") + "\r\n";
  }

  std::wstring recordPath = EnvVar(L"DORVIK_RECORD");
  if (recordPath.empty()) recordPath = ExeFolder() + L"Dorvik_record.txt";
  std::wstring runLogPath = EnvVar(L"DORVIK_RUNLOG");
  if (runLogPath.empty()) runLogPath = ExeFolder() + L"Dorvik_runs.txt";
  WriteWhole(recordPath, record, false);
  WriteWhole(runLogPath, OneLine(commandLine) + "\r\n", true);
  const std::wstring signalName = EnvVar(L"DORVIK_SIGNAL_EVENT");
  if (!signalName.empty()) {
    const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, signalName.c_str());
    if (event != nullptr) {
      SetEvent(event);
      CloseHandle(event);
    }
  }

  Print(stdout, "Dorvik stand-in: " + std::to_string(argc - 1) + " argument(s)\r\n");
  for (size_t i = 1; i < args.size(); ++i) Print(stdout, "  [" + std::to_string(i) + "] " + args[i] + "\r\n");
  Print(stderr, "Dorvik stand-in: no box attached (standard error)\r\n");

  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"-output") {
      std::string out = "Dorvik stand-in output\r\n";
      for (size_t k = 1; k < args.size(); ++k) out += args[k] + "\r\n";
      WriteWhole(argv[i + 1], out, false);
    }
  }

  const unsigned long megabytes = NumberVar(L"DORVIK_OUTPUT_MB");
  if (megabytes > 0) {
    std::string line(63, 'x');
    line += '\n';
    for (unsigned long i = 0; i < megabytes * 16384UL; ++i) std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }

  const unsigned long sleepMs = NumberVar(L"DORVIK_SLEEP_MS");
  if (sleepMs > 0) Sleep(sleepMs);

  const std::wstring eventName = EnvVar(L"DORVIK_WAIT_EVENT");
  if (!eventName.empty()) {
    const HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, eventName.c_str());
    if (event != nullptr) {
      WaitForSingleObject(event, 20000);
      CloseHandle(event);
    }
  }

  Print(stdout, "Dorvik stand-in: done\r\n");
  if (EnvVar(L"DORVIK_CRASH") == L"1") TerminateProcess(GetCurrentProcess(), 0xC0000005u);
  return static_cast<int>(NumberVar(L"DORVIK_EXIT_CODE"));
}
