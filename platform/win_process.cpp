#include "platform/winservices.h"

#include <windows.h>

#include "platform/owner.h"
#include "platform/runguard.h"
#include "platform/wide.h"

namespace {

// The first word of a command line, as the system splits it off to find the
// program: up to the first blank, or between quotes.
std::wstring ProgramWord(const std::wstring& commandLine) {
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const size_t close = commandLine.find(L'"', 1);
    return commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find_first_of(L" \t"));
}

// The full path of a bare program name in the system or Windows folder;
// empty when it is not a bare name or is in neither.
std::wstring SystemProgram(const std::wstring& commandLine) {
  const std::wstring word = ProgramWord(commandLine);
  if (word.empty() || word.find_first_of(L"\\/:") != std::wstring::npos) return std::wstring();
  for (const std::wstring& folder : {SystemFolderPath(GetSystemDirectoryW), SystemFolderPath(GetWindowsDirectoryW)}) {
    if (folder.empty()) continue;
    const std::wstring candidate = folder + L"\\" + word;
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
  }
  return std::wstring();
}

// The capture file with an inheritable handle, emptied; nothing when it
// cannot be opened or emptied.
HANDLE OpenCapture(const std::string& path) {
  if (path.empty()) return nullptr;
  SECURITY_ATTRIBUTES inheritable = {};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  const HANDLE h = CreateFileW(FileApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  if (!SetEndOfFile(h)) {
    CloseHandle(h);
    return nullptr;
  }
  return h;
}

// The process started for `commandLine`, its output and errors into `capture`
// when one is given; null when it could not be started.
HANDLE Start(const std::string& commandLine, HANDLE capture, DWORD flags) {
  std::wstring line = Widen(commandLine);
  const std::wstring program = SystemProgram(line);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (capture) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = capture;
    startup.hStdError = capture;
  }
  PROCESS_INFORMATION process = {};
  // CreateProcessW may write into the command line's buffer.
  if (line.empty() || !CreateProcessW(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr,
                                      capture != nullptr, flags, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace

bool WinProcessLauncher::RunAndWait(const std::string& commandLine, const std::string& capturePath) {
  const HandleOwner capture(OpenCapture(capturePath));
  const HandleOwner process(Start(commandLine, capture.Get(), NORMAL_PRIORITY_CLASS));
  if (!process.Valid()) return false;
  WaitKeepingWindowsPainted(process.Get(), taskbar_);
  return true;
}

bool WinProcessLauncher::StartDetached(const std::string& commandLine) {
  return HandleOwner(Start(commandLine, nullptr, 0)).Valid();
}
