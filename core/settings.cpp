#include "core/settings.h"

#include <cstring>

#include "core/paths.h"
#include "core/text.h"

const char* const kSettingsKeyPath = "SOFTWARE\\Microsoft\\Quintor";

namespace {

constexpr uint32_t kRegQwordType = 11;

uint32_t Raw32FromBytes(const std::string& bytes) {
  uint32_t v = 0;
  for (size_t i = 0; i < bytes.size() && i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return v;
}

std::string BytesFromRaw32(uint32_t v) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return bytes;
}

int32_t ToInt32(uint32_t v) {
  int32_t out;
  std::memcpy(&out, &v, sizeof out);
  return out;
}

std::optional<std::string> TextFromUtf16Bytes(const std::string& bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  units.reserve(bytes.size() / 2);
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

// A stored value as text. Text kinds are UTF-16; numbers read as their
// decimal digits; an empty value of any kind is the empty text; binary data
// and other kinds are not text.
std::optional<std::string> TextOfValue(const SettingsStore::Value& value) {
  if (value.bytes.empty()) return std::string();
  switch (value.type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      return TextFromUtf16Bytes(value.bytes);
    case kRegDword:
      if (value.bytes.size() != 4) return std::nullopt;
      return std::to_string(Raw32FromBytes(value.bytes));
    case kRegQwordType: {
      if (value.bytes.size() != 8) return std::nullopt;
      const uint64_t v = Raw32FromBytes(value.bytes.substr(0, 4)) |
                         (static_cast<uint64_t>(Raw32FromBytes(value.bytes.substr(4))) << 32);
      return std::to_string(v);
    }
    default:
      return std::nullopt;
  }
}

// The stored form of a text: UTF-16LE ending with its terminating zero, which
// every reader of a text value counts on.
std::string Utf16BytesFromText(const std::string& text) {
  const std::u16string units = Utf8ToUtf16(text) + char16_t(0);
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t u : units) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

}  // namespace

RegistryValue::RegistryValue(int32_t type, const std::string& keyPath, const std::string& name,
                             SettingsStore& store)
    : type_(type), keyPath_(keyPath), name_(name), store_(store) {}

std::optional<std::string> RegistryValue::ReadText() const {
  const std::optional<SettingsStore::Value> value = store_.Read(keyPath_, name_);
  if (!value) return std::nullopt;
  return TextOfValue(*value);
}

std::optional<uint32_t> RegistryValue::ReadRaw32() const {
  const std::optional<SettingsStore::Value> value = store_.Read(keyPath_, name_);
  // Whatever the stored kind, up to 4 bytes fill the value from its low end;
  // more do not fit.
  if (!value || value->bytes.size() > 4) return std::nullopt;
  return Raw32FromBytes(value->bytes);
}

bool RegistryValue::WriteText(const std::string& text) {
  // A zero inside would end the text for every reader: refused whole.
  if (text.find('\0') != std::string::npos) return false;
  return store_.Write(keyPath_, name_, Utf16BytesFromText(text));
}

int RegistryValue::Load(std::string* text) {
  const std::optional<std::string> stored = text != nullptr && type_ == kValueText ? ReadText() : std::nullopt;
  if (stored) *text = *stored;
  return stored ? 1 : 0;
}

int RegistryValue::Load(uint32_t* raw) {
  const std::optional<uint32_t> stored = raw != nullptr && type_ == kValueRaw32 ? ReadRaw32() : std::nullopt;
  if (stored) *raw = *stored;
  return stored ? 1 : 0;
}

int RegistryValue::Load(bool* flag) {
  const std::optional<uint32_t> stored = flag != nullptr && type_ == kValueFlag ? ReadRaw32() : std::nullopt;
  if (stored) *flag = *stored != 0;
  return stored ? 1 : 0;
}

int RegistryValue::Load(ValueRect* rect) {
  if (rect == nullptr || type_ != kValueRect) return 0;
  const std::optional<std::string> stored = ReadText();
  if (!stored) return 0;
  int32_t n[4];
  ParseStoredNumbers(*stored, n, 4);
  rect->left = n[0];
  rect->top = n[1];
  // Wrapping sums: out-of-range numbers are not supported, but must not be
  // undefined behaviour either.
  rect->right = ToInt32(static_cast<uint32_t>(n[0]) + static_cast<uint32_t>(n[2]));
  rect->bottom = ToInt32(static_cast<uint32_t>(n[1]) + static_cast<uint32_t>(n[3]));
  return 1;
}

int RegistryValue::Load(ValuePair* pair) {
  if (pair == nullptr || (type_ != kValuePair && type_ != kValuePairAlt)) return 0;
  const std::optional<std::string> stored = ReadText();
  if (!stored) return 0;
  int32_t n[2];
  ParseStoredNumbers(*stored, n, 2);
  pair->first = n[0];
  pair->second = n[1];
  return 1;
}

int RegistryValue::Save(const std::string* text) {
  if (text == nullptr || type_ != kValueText) return 0;
  return WriteText(*text) ? 1 : 0;
}

int RegistryValue::Save(const uint32_t* raw) {
  if (raw == nullptr || type_ != kValueRaw32) return 0;
  return store_.Write(keyPath_, name_, BytesFromRaw32(*raw)) ? 1 : 0;
}

int RegistryValue::Save(const int32_t* flag) {
  if (flag == nullptr || type_ != kValueFlag) return 0;
  return store_.Write(keyPath_, name_, BytesFromRaw32(*flag != 0 ? 1 : 0)) ? 1 : 0;
}

int RegistryValue::Save(const ValueRect* rect) {
  if (rect == nullptr || type_ != kValueRect) return 0;
  const auto diff = [](int32_t a, int32_t b) {
    return static_cast<int64_t>(ToInt32(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)));
  };
  const std::string text = "(" + std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
                           std::to_string(diff(rect->right, rect->left)) + "," +
                           std::to_string(diff(rect->bottom, rect->top)) + ")";
  return WriteText(text) ? 1 : 0;
}

int RegistryValue::Save(const ValuePair* pair) {
  if (pair == nullptr || (type_ != kValuePair && type_ != kValuePairAlt)) return 0;
  return WriteText("(" + std::to_string(pair->first) + "," + std::to_string(pair->second) + ")") ? 1 : 0;
}

void ParseStoredNumbers(const std::string& text, int32_t* slots, int count) {
  for (int i = 0; i < count; ++i) slots[i] = 0;
  std::string s;
  for (const char c : text) {
    if (c != '(' && c != ')') s += c;
  }
  int slot = count - 1;
  uint32_t value = 0;
  uint32_t weight = 1;
  bool negative = false;
  bool lastWasDigit = false;  // the character to the right was a digit
  const auto end = [&]() {
    const uint32_t v = negative ? 0u - value : value;
    slots[slot--] = ToInt32(v);
    value = 0;
    weight = 1;
    negative = false;
  };
  for (size_t i = s.size(); i-- > 0 && slot >= 0;) {
    const char c = s[i];
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
