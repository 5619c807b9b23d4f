// Stored settings of any kind and content: every load ends without a fault,
// a loaded main window state saved and loaded again is the same state, pairs
// and rectangles come back as saved, and "%d" reading agrees with strtoll.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/mainsettings.h"
#include "core/settings.h"
#include "tests/support/fakes.h"

namespace {

const char* const kNames[8] = {"Dorvik_Path",     "Serial_Port",   "Serial_Baudrate", "Serial_Data",
                               "Serial_Stopbits", "Serial_Parity", "Output_Path",     "Dvt_Path"};
const char* const kTool = "C:\\Bench\\Dorvik.exe";

bool Same(const MainSettings& a, const MainSettings& b) {
  return a.toolPath == b.toolPath && a.port == b.port && a.baudRate == b.baudRate && a.dataBits == b.dataBits &&
         a.stopBits == b.stopBits && a.parity == b.parity && a.outputPath == b.outputPath && a.dvtPath == b.dvtPath;
}

void CheckScanDecimal(const std::string& text) {
  int32_t value = 12345;
  const bool ok = ScanDecimal(text, &value);
  const std::string cut = text.substr(0, text.find('\0'));
  errno = 0;
  char* end = nullptr;
  const long long reference = std::strtoll(cut.c_str(), &end, 10);
  const bool number = end != cut.c_str() && errno != ERANGE && reference >= INT32_MIN && reference <= INT32_MAX;
  if (ok != number) std::abort();
  if (ok ? value != reference : value != 12345) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);

  // Any text as a stored pair or rectangle.
  const std::string numbers = fdp.ConsumeRandomLengthString(64);
  int32_t slots[4];
  ParseStoredNumbers(numbers, slots, fdp.ConsumeIntegralInRange(0, 4));
  CheckScanDecimal(numbers);

  // Whatever the stored kinds and bytes, a close stores what the next start reads.
  FakeSettingsStore store;
  for (const char* name : kNames) {
    if (!fdp.ConsumeBool()) continue;
    SettingsStore::Value value;
    value.type = fdp.ConsumeIntegralInRange<uint32_t>(0, 12);
    value.bytes = fdp.ConsumeBool() ? fdp.ConsumeRandomLengthString(48) : std::string();
    store.values[FakeSettingsStore::Key(kSettingsKeyPath, name)] = value;
  }
  FakeFileSystem fs;
  fs.AddFile(kTool, "MZ");
  MainSettings first;
  ExchangeMainSettings(store, fs, first, SettingsMode::kLoad);
  FakeSettingsStore next;
  ExchangeMainSettings(next, fs, first, SettingsMode::kSave);
  MainSettings second;
  second.toolPath = "unchanged";
  ExchangeMainSettings(next, fs, second, SettingsMode::kLoad);
  if (second.toolPath == "unchanged" && first.toolPath.empty()) second.toolPath.clear();
  if (!Same(first, second)) std::abort();

  // Every accessor kind over whatever is stored: no fault.
  for (int32_t type = 0; type <= 7; ++type) {
    RegistryValue value(type, kSettingsKeyPath, "Dorvik_Path", store);
    std::string text;
    uint32_t raw = 0;
    bool flag = false;
    ValueRect rect;
    ValuePair pair;
    value.Load(&text);
    value.Load(&raw);
    value.Load(&flag);
    value.Load(&rect);
    value.Load(&pair);
  }

  // Any pair and rectangle comes back as saved.
  const ValuePair pair{fdp.ConsumeIntegral<int32_t>(), fdp.ConsumeIntegral<int32_t>()};
  const ValueRect rect{fdp.ConsumeIntegral<int32_t>(), fdp.ConsumeIntegral<int32_t>(),
                       fdp.ConsumeIntegral<int32_t>(), fdp.ConsumeIntegral<int32_t>()};
  FakeSettingsStore shapes;
  ValuePair pairBack;
  ValueRect rectBack;
  if (RegistryValue(kValuePair, kSettingsKeyPath, "P", shapes).Save(&pair) != 1 ||
      RegistryValue(kValuePair, kSettingsKeyPath, "P", shapes).Load(&pairBack) != 1 ||
      RegistryValue(kValueRect, kSettingsKeyPath, "R", shapes).Save(&rect) != 1 ||
      RegistryValue(kValueRect, kSettingsKeyPath, "R", shapes).Load(&rectBack) != 1) {
    std::abort();
  }
  if (pairBack.first != pair.first || pairBack.second != pair.second) std::abort();
  if (rectBack.left != rect.left || rectBack.top != rect.top || rectBack.right != rect.right ||
      rectBack.bottom != rect.bottom) {
    std::abort();
  }
  return 0;
}
