// The path helpers never split a UTF-8 character and keep their invariants.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/paths.h"
#include "core/text.h"

namespace {

bool ValidUtf8(const std::string& s) { return Utf16ToUtf8(Utf8ToUtf16(s)) == s; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string drive = GetPathDrive(path);
  const std::string folder = GetPathFolder(path);
  const std::string base = GetPathBaseName(path);
  const std::string ext = GetPathExtension(path);
  const std::string file = GetPathFileName(path);
  if (ext.find('.') != std::string::npos) std::abort();
  if (drive.find('\\') != std::string::npos) std::abort();
  if (path.find('.') != std::string::npos && file != base + "." + ext) std::abort();
  // Folder, separator and file name give the path back apart from case.
  if (!folder.empty() && AsciiUpper(folder + "\\" + file) != AsciiUpper(path)) std::abort();
  if (ValidUtf8(path)) {
    for (const std::string* part : {&drive, &folder, &base, &ext, &file}) {
      if (!ValidUtf8(*part)) std::abort();
    }
  }
  return 0;
}
