#include "platform/winservices.h"

#include <windows.h>

#include <vector>

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

std::wstring FolderFrom(UINT (WINAPI* get)(LPWSTR, UINT)) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const UINT n = get(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

// The full path of a bare program name in the system or Windows folder;
// empty when it is not a bare name or is in neither.
std::wstring SystemProgram(const std::wstring& commandLine) {
  const std::wstring word = ProgramWord(commandLine);
  if (word.empty() || word.find_first_of(L"\\/:") != std::wstring::npos) return std::wstring();
  for (const std::wstring& folder : {FolderFrom(GetSystemDirectoryW), FolderFrom(GetWindowsDirectoryW)}) {
    if (folder.empty()) continue;
    const std::wstring candidate = folder + L"\\" + word;
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
  }
  return std::wstring();
}

bool Start(const std::string& commandLine, STARTUPINFOW& startup, bool inheritHandles, DWORD flags,
           PROCESS_INFORMATION& process) {
  std::wstring line = Widen(commandLine);
  if (line.empty()) return false;
  const std::wstring program = SystemProgram(line);
  // CreateProcessW may write into the command line buffer.
  std::vector<wchar_t> buffer(line.begin(), line.end());
  buffer.push_back(L'\0');
  return CreateProcessW(program.empty() ? nullptr : program.c_str(), buffer.data(), nullptr, nullptr,
                        inheritHandles ? TRUE : FALSE, flags, nullptr, nullptr, &startup, &process) != FALSE;
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

}  // namespace

bool WinProcessLauncher::RunAndWait(const std::string& commandLine, const std::string& capturePath) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  const HandleOwner capture(OpenCapture(capturePath));
  if (capture.Valid()) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = capture.Get();
    startup.hStdError = capture.Get();
  }
  PROCESS_INFORMATION process = {};
  if (!Start(commandLine, startup, capture.Valid(), NORMAL_PRIORITY_CLASS, process)) return false;
  const HandleOwner processHandle(process.hProcess), threadHandle(process.hThread);
  WaitKeepingWindowsPainted(process.hProcess);
  return true;
}

bool WinProcessLauncher::StartDetached(const std::string& commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!Start(commandLine, startup, false, 0, process)) return false;
  const HandleOwner processHandle(process.hProcess), threadHandle(process.hThread);
  return true;
}
