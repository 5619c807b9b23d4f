// UTF-8 / UTF-16 conversion and small text helpers.
#pragma once

#include <string>

// Ill-formed input becomes U+FFFD; nothing is dropped silently.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

// Upper-cases the ASCII letters a to z; every other character stays.
std::string AsciiUpper(std::string text);
