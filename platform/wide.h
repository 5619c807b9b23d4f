// UTF-8 inside, UTF-16 at the Win32 boundary; paths for the file functions
// at any length.
#pragma once

#include <windows.h>

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

// `path` as the wide text the file functions take. A full drive or network
// path too long for the plain form (248 characters and more, the limit of a
// new folder) gets the "\\?\" or "\\?\UNC\" form, doubled backslashes made
// single; the system then takes it as it stands, so a path that needs
// resolving (a '/', a "." or ".." part) is left plain, and the functions
// refuse it when it is too long. Every other path stays as it is.
std::wstring FileApiPath(const std::string& path);

// The folder `get` gives (GetSystemDirectoryW, GetWindowsDirectoryW), however
// long; empty when it fails.
std::wstring SystemFolderPath(UINT(WINAPI* get)(LPWSTR, UINT));
