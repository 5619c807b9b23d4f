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
  if (word.find_first_of(L"\\/:") != std::wstring::npos) return std::wstring();
  for (const std::wstring& folder : {SystemFolderPath(GetSystemDirectoryW), SystemFolderPath(GetWindowsDirectoryW)}) {
    const std::wstring candidate = folder + L"\\" + word;
    if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return std::wstring();
}

// The capture file with an inheritable handle (INVALID_HANDLE_VALUE when it
// cannot be opened).
HANDLE OpenCapture(const std::string& path) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  return CreateFileW(FileApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
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
  if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr, capture != nullptr,
                      flags, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  const HandleOwner thread(process.hThread);
  return process.hProcess;
}

}  // namespace

bool WinProcessLauncher::RunAndWait(const std::string& commandLine, const std::string& capturePath) {
  const HandleOwner capture(OpenCapture(capturePath));
  // Emptied first; a log that cannot be emptied is not used.
  const HandleOwner process(
      Start(commandLine, SetEndOfFile(capture.Get()) ? capture.Get() : nullptr, NORMAL_PRIORITY_CLASS));
  if (!process.Valid()) return false;
  WaitKeepingWindowsPainted(process.Get(), taskbar_);
  return true;
}

bool WinProcessLauncher::StartDetached(const std::string& commandLine) {
  return HandleOwner(Start(commandLine, nullptr, 0)).Valid();
}
