// Files and folders through the wide Win32 functions.
#pragma once

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
