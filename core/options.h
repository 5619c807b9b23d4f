// Option catalogues of the drop-down lists and the rules that fill a list
// from a catalogue and read a selection back as a value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/services.h"

struct OptionEntry {
  const char* text;  // what the list shows
  int32_t value;     // what is stored, compared and passed on
};

constexpr int kPortOptionCount = 9;
constexpr int kBaudRateOptionCount = 8;
constexpr int kDataBitsOptionCount = 4;
constexpr int kStopBitsOptionCount = 3;
constexpr int kParityOptionCount = 3;
constexpr int kCommandOptionCount = 8;

extern const OptionEntry PortOptions[kPortOptionCount];
extern const OptionEntry BaudRateOptions[kBaudRateOptionCount];
extern const OptionEntry DataBitsOptions[kDataBitsOptionCount];
extern const OptionEntry StopBitsOptions[kStopBitsOptionCount];
extern const OptionEntry ParityOptions[kParityOptionCount];
extern const OptionEntry CommandOptions[kCommandOptionCount];

// Command codes, shared by the Command list and the DVT catalogue.
enum CommandCode : int32_t {
  kCmdFileDownload = 0,
  kCmdIrdetoFactoryProgram = 1,
  kCmdIrdetoFactoryLock = 2,
  kCmdIrdetoSecureLock = 3,
  kCmdIrdetoSecureCheck = 4,
  kCmdIrdetoLoaderStatus = 5,
  kCmdIrdetoDevProgram = 6,
  kCmdHdcpDownload = 7,
};

int GetCommandCount();
// Irdeto Factory Lock and Irdeto Secure Lock, which take the lock options.
bool IsLockCommand(int32_t code);

// Inserts every row's text at its own position; removes nothing, selects nothing.
void FillOptionCombo(OptionList& list, const OptionEntry* catalogue, int count);
// Selects the first row carrying `value` and returns its position; returns
// `count` and changes nothing when no row carries it.
int SelectOptionByValue(OptionList& list, const OptionEntry* catalogue, int count, int32_t value);
void SetupOptionCombo(OptionList& list, const OptionEntry* catalogue, int count, int32_t value);

// The value of the row at `position`, or nothing when the position is not a
// row of the catalogue (a list without a selection gives -1 and so nothing).
std::optional<int32_t> OptionValueAt(const OptionEntry* catalogue, int count, int position);
std::optional<int32_t> SelectedOptionValue(const OptionList& list, const OptionEntry* catalogue,
                                           int count);
