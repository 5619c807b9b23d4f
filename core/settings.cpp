#include "core/settings.h"

#include <cstring>

#include "core/paths.h"
#include "core/text.h"

const char* const kSettingsKeyPath = "SOFTWARE\\Microsoft\\Quintor";

namespace {

// The number held by up to eight bytes, low byte first.
uint64_t FromLittleEndian(const std::string& bytes) {
  uint64_t v = 0;
  for (size_t i = 0; i < bytes.size(); ++i) v |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return v;
}

// `v` wrapped into 32 bits: out-of-range numbers are not supported, but must
// not be undefined behaviour either.
int32_t Wrapped(int64_t v) {
  const uint32_t low = static_cast<uint32_t>(v);
  int32_t out;
  std::memcpy(&out, &low, sizeof out);
  return out;
}

std::optional<std::string> TextFromUtf16Bytes(const std::string& bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  // Terminating zeros are not part of the text; a zero before other data
  // means the value holds more than one text, which no field can take whole.
  while (!units.empty() && units.back() == 0) units.pop_back();
  if (units.find(char16_t(0)) != std::u16string::npos) return std::nullopt;
  return Utf16ToUtf8(units);
}

std::optional<std::string> TextOfValue(const SettingsStore::Value& value) {
  if (value.bytes.empty()) return std::string();
  switch (value.type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      return TextFromUtf16Bytes(value.bytes);
    case kRegDword:
    case kRegQword:
      if (value.bytes.size() != (value.type == kRegDword ? 4u : 8u)) return std::nullopt;
      return std::to_string(FromLittleEndian(value.bytes));
    default:
      return std::nullopt;
  }
}

// The stored form of a text: UTF-16LE ending with its terminating zero, which
// every reader of a text value counts on.
std::string Utf16BytesFromText(const std::string& text) {
  std::string bytes;
  for (const char16_t u : Utf8ToUtf16(text) + char16_t(0)) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

// "(a,b,...)"
std::string NumbersText(std::initializer_list<int64_t> numbers) {
  std::string text;
  for (const int64_t n : numbers) text += (text.empty() ? "(" : ",") + std::to_string(n);
  return text + ")";
}

// 1 after applying what was read, 0 when nothing was.
template <typename T, typename Apply>
int Loaded(const std::optional<T>& read, Apply apply) {
  if (read) apply(*read);
  return read ? 1 : 0;
}

}  // namespace

RegistryValue::RegistryValue(int32_t type, const std::string& keyPath, const std::string& name,
                             SettingsStore& store)
    : type_(type), keyPath_(keyPath), name_(name), store_(store) {}

std::optional<std::string> RegistryValue::ReadText() const {
  const std::optional<SettingsStore::Value> value = store_.Read(keyPath_, name_);
  return value ? TextOfValue(*value) : std::nullopt;
}

std::optional<uint32_t> RegistryValue::ReadRaw32() const {
  const std::optional<SettingsStore::Value> value = store_.Read(keyPath_, name_);
  if (!value || value->bytes.size() > 4) return std::nullopt;
  return static_cast<uint32_t>(FromLittleEndian(value->bytes));
}

int RegistryValue::WriteText(const std::string& text) {
  if (text.find('\0') != std::string::npos) return 0;
  return store_.Write(keyPath_, name_, Utf16BytesFromText(text)) ? 1 : 0;
}

int RegistryValue::WriteRaw32(uint32_t raw) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((raw >> (8 * i)) & 0xFF);
  return store_.Write(keyPath_, name_, bytes) ? 1 : 0;
}

int RegistryValue::Load(std::string* text) {
  return Loaded(Is(text, kValueText) ? ReadText() : std::nullopt, [&](const std::string& s) { *text = s; });
}

int RegistryValue::Load(uint32_t* raw) {
  return Loaded(Is(raw, kValueRaw32) ? ReadRaw32() : std::nullopt, [&](uint32_t v) { *raw = v; });
}

int RegistryValue::Load(bool* flag) {
  return Loaded(Is(flag, kValueFlag) ? ReadRaw32() : std::nullopt, [&](uint32_t v) { *flag = v != 0; });
}

int RegistryValue::Load(ValueRect* rect) {
  return Loaded(Is(rect, kValueRect) ? ReadText() : std::nullopt, [&](const std::string& s) {
    int32_t n[4];
    ParseStoredNumbers(s, n, 4);
    *rect = {n[0], n[1], Wrapped(int64_t{n[0]} + n[2]), Wrapped(int64_t{n[1]} + n[3])};
  });
}

int RegistryValue::Load(ValuePair* pair) {
  const bool pairType = Is(pair, kValuePair) || Is(pair, kValuePairAlt);
  return Loaded(pairType ? ReadText() : std::nullopt, [&](const std::string& s) {
    int32_t n[2];
    ParseStoredNumbers(s, n, 2);
    *pair = {n[0], n[1]};
  });
}

int RegistryValue::Save(const std::string* text) { return Is(text, kValueText) ? WriteText(*text) : 0; }

int RegistryValue::Save(const uint32_t* raw) { return Is(raw, kValueRaw32) ? WriteRaw32(*raw) : 0; }

int RegistryValue::Save(const int32_t* flag) { return Is(flag, kValueFlag) ? WriteRaw32(*flag != 0 ? 1 : 0) : 0; }

int RegistryValue::Save(const ValueRect* rect) {
  if (!Is(rect, kValueRect)) return 0;
  return WriteText(NumbersText({rect->left, rect->top, Wrapped(int64_t{rect->right} - rect->left),
                                Wrapped(int64_t{rect->bottom} - rect->top)}));
}

int RegistryValue::Save(const ValuePair* pair) {
  const bool pairType = Is(pair, kValuePair) || Is(pair, kValuePairAlt);
  return pairType ? WriteText(NumbersText({pair->first, pair->second})) : 0;
}

void ParseStoredNumbers(const std::string& text, int32_t* slots, int count) {
  for (int i = 0; i < count; ++i) slots[i] = 0;
  int slot = count - 1;
  uint32_t value = 0;
  uint32_t weight = 1;
  bool negative = false;
  bool lastWasDigit = false;  // the character to the right was a digit
  const auto end = [&]() {
    slots[slot--] = Wrapped(negative ? -int64_t{value} : value);
    value = 0;
    weight = 1;
    negative = false;
  };
  for (size_t i = text.size(); i-- > 0 && slot >= 0;) {
    const char c = text[i];
    if (c == '(' || c == ')') continue;  // as if removed
    if (c >= '0' && c <= '9') {
      value += static_cast<uint32_t>(c - '0') * weight;
      weight *= 10;
      lastWasDigit = true;
      continue;
    }
    if (c == '-' && lastWasDigit) {
      negative = true;
    } else if (c == ',') {
      end();
    }
    lastWasDigit = false;
  }
  if (slot >= 0) end();
}

bool ScanDecimal(const std::string& text, int32_t* value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t digits = i;
  int64_t v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    v = v * 10 + (text[i++] - '0');
    // Beyond the 32-bit range the text names no value a field can hold.
    if (v > 2147483648LL) return false;
  }
  if (i == digits) return false;
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  *value = static_cast<int32_t>(v);
  return true;
}

SettingsExchange::SettingsExchange(SettingsStore& store, const FileSystem& fs, SettingsMode mode)
    : store_(store), fs_(fs), mode_(mode) {}

bool SettingsExchange::Text(const char* name, std::string& value) {
  RegistryValue stored(kValueText, kSettingsKeyPath, name, store_);
  return (Loading() ? stored.Load(&value) : stored.Save(&value)) == 1;
}

void SettingsExchange::FilePath(const char* name, std::string& value) {
  std::string text = Loading() || GetFileSizeOrZero(fs_, value) == 0 ? std::string() : value;
  if (Text(name, text) && Loading() && GetFileSizeOrZero(fs_, text) > 0) value = text;
}

void SettingsExchange::Number(const char* name, int32_t& value) {
  std::string text = Loading() ? std::string() : std::to_string(value);
  if (Text(name, text) && Loading()) ScanDecimal(text, &value);
}
