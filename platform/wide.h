// UTF-8 inside, UTF-16 at the Win32 boundary.
#pragma once

#include <string>

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
