#include "platform/winservices.h"

#include <windows.h>

#include "platform/owner.h"
#include "platform/wide.h"

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x10000000 ? 0x10000000 : bytes.size() - done);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// A file open for reading that others may only read too.
class WinFileHold : public FileHold {
 public:
  explicit WinFileHold(HANDLE file) : file_(file) {}
  HANDLE Get() const { return file_.Get(); }

 private:
  HandleOwner file_;
};

// Scripts are small: one read gives a disk file whole.
bool HoldsExactly(HANDLE file, const std::string& bytes) {
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) != bytes.size() ||
      bytes.size() > 0x10000000) {
    return false;
  }
  std::string held(bytes.size(), '\0');
  DWORD read = 0;
  return ReadFile(file, &held[0], static_cast<DWORD>(held.size()), &read, nullptr) && read == held.size() &&
         held == bytes;
}

}  // namespace

uint32_t WinFileSystem::FileSizeOrZero(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(FileApiPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  // A file of 4 GiB or more must not look missing or empty.
  if (data.nFileSizeHigh != 0) return 0xFFFFFFFFu;
  return data.nFileSizeLow;
}

bool WinFileSystem::FolderExists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(FileApiPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WinFileSystem::WriteFileBytes(const std::string& path, const std::string& bytes) {
  const std::wstring target = FileApiPath(path);
  // A read-only file is not replaced, as opening it for writing would fail.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  // A fresh name beside the target, so the move stays on one volume.
  std::wstring temporary;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = FileApiPath(path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp");
    h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  HandleOwner file(h);
  if (!file.Valid()) return false;
  const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
  // Closed first either way: an open file can be neither moved nor deleted.
  if (!file.Reset() || !written ||
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool WinFileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryW(FileApiPath(path).c_str(), nullptr) != FALSE;
}

bool WinFileSystem::CopyFileOver(const std::string& from, const std::string& to) {
  return CopyFileW(FileApiPath(from).c_str(), FileApiPath(to).c_str(), FALSE) != FALSE;
}

std::unique_ptr<FileHold> WinFileSystem::HoldUnchanged(const std::string& path, const std::string& bytes) {
  // Sharing read alone refuses every opener that would write, delete or
  // rename, and fails itself while anyone holds the file for that.
  auto hold = std::make_unique<WinFileHold>(CreateFileW(FileApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (hold->Get() == INVALID_HANDLE_VALUE || !HoldsExactly(hold->Get(), bytes)) return nullptr;
  return hold;
}
