// The settings store: typed access to named values under one key path, and
// the exchange of a settings table in either direction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/services.h"

// Every value of the system lives under this key path.
extern const char* const kSettingsKeyPath;  // "SOFTWARE\\Microsoft\\Quintor"

// Value types of RegistryValue.
enum RegistryValueType : int32_t {
  kValueText = 1,       // text
  kValueRaw32 = 2,      // 4 raw bytes
  kValueFlag = 3,       // flag stored as a 4-byte 0 or 1
  kValueRect = 4,       // rectangle, stored "(left,top,width,height)"
  kValuePair = 5,       // pair, stored "(a,b)"
  kValuePairAlt = 6,    // stored and loaded like kValuePair
};

struct ValueRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct ValuePair {
  int32_t first = 0, second = 0;
};

// Typed accessor of one value; built for one value, used once, discarded.
// Load and Save return 1 on success and 0 on failure. Each destination kind
// matches one value type; a destination of the wrong kind for the accessor's
// type, or a type outside 1 to 6, gives 0 and touches nothing.
//
// Stored forms: every value is written as REG_SZ. Texts (types 1, 4, 5, 6)
// are UTF-16 with their terminating zero counted in the data; types 2 and 3
// are 4 raw bytes (little-endian; the flag 1 or 0).
// Reading a text: REG_SZ, REG_EXPAND_SZ (not expanded) and REG_MULTI_SZ are
// UTF-16 text with or without terminating zeros, which are dropped; a zero
// before further data (two texts of a REG_MULTI_SZ, or a text with an
// embedded zero) and an odd byte count are refused whole. REG_DWORD and REG_QWORD read as their
// unsigned decimal digits. An empty value of any kind is the empty text.
// REG_BINARY and other kinds are refused. Texts load whole, at any length.
// Reading types 2 and 3: up to 4 bytes of any kind fill the value from its low
// byte; more are refused. A text to save holding a zero is refused whole.
class RegistryValue {
 public:
  RegistryValue(int32_t type, const std::string& keyPath, const std::string& name, SettingsStore& store);
  virtual ~RegistryValue() = default;

  int Load(std::string* text);      // type 1: the whole stored text
  int Load(uint32_t* raw);          // type 2
  int Load(bool* flag);             // type 3
  int Load(ValueRect* rect);        // type 4
  int Load(ValuePair* pair);        // types 5 and 6

  int Save(const std::string* text);
  int Save(const uint32_t* raw);
  int Save(const int32_t* flag);    // type 3: stores 1 for nonzero, else 0
  int Save(const ValueRect* rect);
  int Save(const ValuePair* pair);

 private:
  bool Is(const void* destination, int32_t type) const { return destination != nullptr && type_ == type; }
  std::optional<std::string> ReadText() const;
  std::optional<uint32_t> ReadRaw32() const;
  int WriteText(const std::string& text);
  int WriteRaw32(uint32_t raw);

  int32_t type_;
  std::string keyPath_;
  std::string name_;
  SettingsStore& store_;
};

// Reads the numbers of a stored pair or rectangle text into `count` slots,
// scanning right to left: "(" and ")" removed, "," ends a number (an empty one
// is 0), "-" right before a number's digits makes it negative, anything else
// is skipped, so digits split only by skipped characters make one number.
// Numbers fill the slots from the last one backwards; the text's leading part
// beyond the slots is ignored; slots without a number stay 0.
void ParseStoredNumbers(const std::string& text, int32_t* slots, int count);

// Reads "%d"-style: optional blanks, optional sign, digits up to the first
// other character; false when there is no number, or when it lies outside the
// 32-bit range (the field then stays unchanged).
bool ScanDecimal(const std::string& text, int32_t* value);

enum class SettingsMode { kLoad, kSave };

// One pass over stored text values, in the order of the calls. Loading reads
// each value found into its field (a missing or unreadable one leaves the
// field as it was); saving writes every field.
class SettingsExchange {
 public:
  SettingsExchange(SettingsStore& store, const FileSystem& fs, SettingsMode mode);
  bool Loading() const { return mode_ == SettingsMode::kLoad; }
  // A text as stored; true when it was loaded or saved.
  bool Text(const char* name, std::string& value);
  // A path kept only while its file is found: loaded only then, saved empty
  // otherwise.
  void FilePath(const char* name, std::string& value);
  // A number stored as its decimal text and read as ScanDecimal reads it.
  void Number(const char* name, int32_t& value);

 private:
  SettingsStore& store_;
  const FileSystem& fs_;
  SettingsMode mode_;
};
