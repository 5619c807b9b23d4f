#include "core/paths.h"

#include "core/text.h"

namespace {

// Everything before the last dot of the whole path (the whole path without one).
std::string Stem(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(0, dot);
}

}  // namespace

std::string GetModuleFolder(const Environment& env) {
  const std::string executablePath = env.ExecutablePath();
  const size_t sep = executablePath.find_last_of("\\/");
  if (sep == std::string::npos) return ".\\";
  return executablePath.substr(0, sep + 1);
}

std::string GetPathDrive(const std::string& path) {
  const size_t sep = path.find('\\');
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string GetPathFolder(const std::string& path) {
  const std::string stem = Stem(path);
  const size_t sep = stem.rfind('\\');
  return sep == std::string::npos ? std::string() : stem.substr(0, sep);
}

std::string GetPathBaseName(const std::string& path) {
  const std::string stem = Stem(path);
  return stem.substr(stem.rfind('\\') + 1);  // npos + 1 is 0: the whole stem
}

std::string GetPathExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : AsciiUpper(path.substr(dot + 1));
}

std::string GetPathFileName(const std::string& path) {
  if (path.find('.') == std::string::npos) return GetPathBaseName(path);
  return GetPathBaseName(path) + "." + GetPathExtension(path);
}

uint32_t GetFileSizeOrZero(const FileSystem& fs, const std::string& path) {
  return fs.FileSizeOrZero(path);
}
