// Path and file-name helpers for Windows paths (separator '\'). Paths are
// UTF-8; the helpers only look for '.' and '\', which never occur inside a
// multi-byte UTF-8 sequence.
#pragma once

#include <cstdint>
#include <string>

#include "core/services.h"

// Drive and folder of the running program, ending with '\'.
std::string GetModuleFolder(const Environment& env);

// The characters before the first '\' (empty for a network path, and for a
// path without any '\').
std::string GetPathDrive(const std::string& path);
// The path without its last dot and extension part, cut before the last '\'
// that is left; empty when no '\' is left.
std::string GetPathFolder(const std::string& path);
// The characters between that last '\' and the last dot.
std::string GetPathBaseName(const std::string& path);
// The characters after the last dot anywhere in the path, upper-cased.
std::string GetPathExtension(const std::string& path);
// Base name, '.', upper-cased extension; the base name alone without a dot.
std::string GetPathFileName(const std::string& path);
// FileSystem::FileSizeOrZero; a file exists for the system when it is not 0.
uint32_t GetFileSizeOrZero(const FileSystem& fs, const std::string& path);
