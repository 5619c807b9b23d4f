#include "core/options.h"

const OptionEntry PortOptions[kPortOptionCount] = {
    {"COM1", 1}, {"COM2", 2}, {"COM3", 3}, {"COM4", 4}, {"COM5", 5},
    {"COM6", 6}, {"COM7", 7}, {"COM8", 8}, {"COM9", 9},
};

const OptionEntry BaudRateOptions[kBaudRateOptionCount] = {
    {"2400", 2400},   {"4800", 4800},   {"9600", 9600},   {"14400", 14400},
    {"19200", 19200}, {"38400", 38400}, {"57600", 57600}, {"115200", 115200},
};

const OptionEntry DataBitsOptions[kDataBitsOptionCount] = {
    {"5 bit", 5}, {"6 bit", 6}, {"7 bit", 7}, {"8 bit", 8},
};

const OptionEntry StopBitsOptions[kStopBitsOptionCount] = {
    {"1 bit", 0}, {"1.5 bit", 1}, {"2 bit", 2},
};

// "Event" is the list's own text for even parity.
const OptionEntry ParityOptions[kParityOptionCount] = {
    {"None", 0}, {"Odd", 1}, {"Event", 2},
};

// List order is not code order: "Irdeto Dev Program" (6) is the fourth row.
const OptionEntry CommandOptions[kCommandOptionCount] = {
    {"File Download", kCmdFileDownload},
    {"Irdeto Factory Program", kCmdIrdetoFactoryProgram},
    {"Irdeto Factory Lock", kCmdIrdetoFactoryLock},
    {"Irdeto Dev Program", kCmdIrdetoDevProgram},
    {"Irdeto Secure Lock", kCmdIrdetoSecureLock},
    {"Irdeto Secure Check", kCmdIrdetoSecureCheck},
    {"Irdeto Loader Status", kCmdIrdetoLoaderStatus},
    {"Hdcp Download", kCmdHdcpDownload},
};

int GetCommandCount() { return kCommandOptionCount; }

bool IsLockCommand(int32_t code) { return code == kCmdIrdetoFactoryLock || code == kCmdIrdetoSecureLock; }

void FillOptionCombo(OptionList& list, const OptionEntry* catalogue, int count) {
  for (int i = 0; i < count; ++i) list.InsertString(i, catalogue[i].text);
}

int SelectOptionByValue(OptionList& list, const OptionEntry* catalogue, int count, int32_t value) {
  for (int i = 0; i < count; ++i) {
    if (catalogue[i].value == value) {
      list.SetCurSel(i);
      return i;
    }
  }
  return count;
}

void SetupOptionCombo(OptionList& list, const OptionEntry* catalogue, int count, int32_t value) {
  FillOptionCombo(list, catalogue, count);
  SelectOptionByValue(list, catalogue, count, value);
}

std::optional<int32_t> OptionValueAt(const OptionEntry* catalogue, int count, int position) {
  if (position < 0 || position >= count) return std::nullopt;
  return catalogue[position].value;
}

std::optional<int32_t> SelectedOptionValue(const OptionList& list, const OptionEntry* catalogue,
                                           int count) {
  return OptionValueAt(catalogue, count, list.GetCurSel());
}
