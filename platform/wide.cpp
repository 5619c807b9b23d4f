#include "platform/wide.h"

#include "core/text.h"

// wchar_t is UTF-16 on Windows; the conversions are the portable ones.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is 16 bits");

std::wstring Widen(const std::string& utf8) {
  const std::u16string s = Utf8ToUtf16(utf8);
  return std::wstring(s.begin(), s.end());
}

std::string Narrow(const std::wstring& wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
