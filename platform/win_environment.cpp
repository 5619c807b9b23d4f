#include "platform/winservices.h"

#include "platform/owner.h"
#include "platform/wide.h"

namespace {

// `text` in `codePage`; nothing when a character does not come back unchanged.
std::optional<std::string> EncodeExactly(UINT codePage, const std::string& text) {
  const std::wstring wide = Widen(text);
  const int wideLength = static_cast<int>(wide.size());
  // No best-fit replacements: a character either has its own form or the
  // round trip below shows that it has none. UTF-8 takes no such flag.
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  // A failed conversion gives 0 characters, which the round trip refuses.
  const int n = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), wideLength, &bytes[0], n, nullptr, nullptr);
  const int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), n, nullptr, 0);
  std::wstring roundTrip(static_cast<size_t>(back), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), n, &roundTrip[0], back);
  if (roundTrip != wide) return std::nullopt;
  return bytes;
}

}  // namespace

std::string WinEnvironment::ExecutablePath() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    // A full buffer may hold a cut path: grow and ask again.
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    path.resize(path.size() + MAX_PATH);
  }
}

std::string WinEnvironment::UserDataFolder() const {
  TaskMemory<PWSTR> base;
  if (FAILED(lazy::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, base.Out()))) return {};
  return Narrow(base.Get()) + "\\Quintor\\";
}

std::optional<std::string> WinEnvironment::EncodeForBatch(const std::string& text) const {
  const UINT console = GetConsoleOutputCP();
  return EncodeExactly(console ? console : GetOEMCP(), text);
}

std::optional<std::string> WinEnvironment::EncodeForAnsi(const std::string& text) const {
  return EncodeExactly(GetACP(), text);
}

LocalTime WinClock::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}
