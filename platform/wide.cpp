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

std::wstring SystemFolderPath(UINT(WINAPI* get)(LPWSTR, UINT)) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const UINT n = get(&buffer[0], static_cast<UINT>(buffer.size()));
    const bool whole = n < buffer.size();
    buffer.resize(n);  // the path, or room for it and its terminator
    if (whole) return buffer;
  }
}

namespace {

constexpr size_t kPlainLimit = 248;

// For a path of kPlainLimit characters or more.
bool IsDriveStart(const std::wstring& p) {
  return ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) && p[1] == L':' && p[2] == L'\\';
}

// True when the system would have to resolve a part of `p` itself.
bool NeedsResolving(const std::wstring& p) {
  if (p.find(L'/') != std::wstring::npos) return true;
  size_t start = 0;
  while (start <= p.size()) {
    size_t end = p.find(L'\\', start);
    if (end == std::wstring::npos) end = p.size();
    const std::wstring part = p.substr(start, end - start);
    if (part == L"." || part == L"..") return true;
    start = end + 1;
  }
  return false;
}

std::wstring SingleBackslashes(const std::wstring& p) {
  std::wstring out;
  for (const wchar_t c : p) {
    if (c == L'\\' && !out.empty() && out.back() == L'\\') continue;
    out += c;
  }
  return out;
}

}  // namespace

std::wstring FileApiPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.size() < kPlainLimit || NeedsResolving(wide)) return wide;
  if (IsDriveStart(wide)) return L"\\\\?\\" + SingleBackslashes(wide);
  if (wide.size() > 2 && wide[0] == L'\\' && wide[1] == L'\\' && wide[2] != L'?' && wide[2] != L'.') {
    return L"\\\\?\\UNC\\" + SingleBackslashes(wide.substr(2));
  }
  return wide;
}
