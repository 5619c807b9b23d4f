// irdeto_make_bbcb.exe stand-in: a console program that takes the maker
// tool's arguments and writes a small bbcb.bin.
//
//   irdeto_make_bbcb -config <file> -sn <S/N> -rn <R/N>
//                    -manufacturer_sn <text> -output <path of bbcb.bin>
//
// Every start is recorded first, appended in UTF-8 with CR LF line ends to the
// file named by the environment variable QUINTOR_BBCB_RECORD or, when that is
// not set, to "irdeto_make_bbcb.record.txt" beside this program:
//
//   cmdline=<the command line as received>
//   arg=<each argument after the program name, split by the C runtime rules>
//   end
//
// A CR or LF inside a value is recorded as {CR} or {LF}, so each value stays
// on its line.
//
// The image holds the values it was made from, so a test can tell runs apart:
//
//   BBCB<CR LF>sn=<S/N><CR LF>rn=<R/N><CR LF>manufacturer_sn=<text><CR LF>
//
// Exit codes: 0 image written; 2 an option or its value is missing or
// unknown; 3 the config file cannot be read; 4 the image cannot be written.
// Each failure prints a message on standard error.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string RecordLine(const char* key, const std::wstring& value) {
  std::string line = key;
  for (const char c : Utf8(value)) {
    if (c == '\r') {
      line += "{CR}";
    } else if (c == '\n') {
      line += "{LF}";
    } else {
      line += c;
    }
  }
  return line + "\r\n";
}

bool WriteWhole(const std::wstring& path, const std::string& bytes, const wchar_t* mode) {
  FILE* f = _wfopen(path.c_str(), mode);
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::wstring RecordPath() {
  std::vector<wchar_t> buf(32768);
  const DWORD n = GetEnvironmentVariableW(L"QUINTOR_BBCB_RECORD", buf.data(), static_cast<DWORD>(buf.size()));
  if (n > 0 && n < buf.size()) return std::wstring(buf.data(), n);
  const DWORD len = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  std::wstring self(buf.data(), len);
  return self.substr(0, self.find_last_of(L"\\/") + 1) + L"irdeto_make_bbcb.record.txt";
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "irdeto_make_bbcb: %s\n", message.c_str());
  return code;
}

}  // namespace

int main() {
  const wchar_t* raw = GetCommandLineW();
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(raw, &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(argv[i]);
  if (argv) LocalFree(argv);

  std::string record = RecordLine("cmdline=", raw);
  for (const std::wstring& a : args) record += RecordLine("arg=", a);
  record += "end\r\n";
  WriteWhole(RecordPath(), record, L"ab");

  static const wchar_t* const kOptions[] = {L"-config", L"-sn", L"-rn", L"-manufacturer_sn", L"-output"};
  std::map<std::wstring, std::wstring> values;
  for (size_t i = 0; i < args.size(); i += 2) {
    bool known = false;
    for (const wchar_t* o : kOptions) known = known || args[i] == o;
    if (!known) return Fail(2, "unknown option " + Utf8(args[i]));
    if (i + 1 >= args.size()) return Fail(2, "no value after " + Utf8(args[i]));
    values[args[i]] = args[i + 1];
  }
  for (const wchar_t* o : kOptions) {
    if (values[o].empty()) return Fail(2, "missing " + Utf8(o));
  }

  FILE* config = _wfopen(values[L"-config"].c_str(), L"rb");
  if (!config) return Fail(3, "cannot read config " + Utf8(values[L"-config"]));
  std::fclose(config);

  const std::string image = "BBCB\r\nsn=" + Utf8(values[L"-sn"]) + "\r\nrn=" + Utf8(values[L"-rn"]) +
                            "\r\nmanufacturer_sn=" + Utf8(values[L"-manufacturer_sn"]) + "\r\n";
  if (!WriteWhole(values[L"-output"], image, L"wb")) {
    return Fail(4, "cannot write " + Utf8(values[L"-output"]));
  }
  std::printf("irdeto_make_bbcb: image written\n");
  return 0;
}
