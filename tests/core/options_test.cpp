#include <gtest/gtest.h>

#include <vector>

#include "core/options.h"

namespace {

class FakeList : public OptionList {
 public:
  void InsertString(int position, const std::string& text) override {
    rows.insert(rows.begin() + position, text);
  }
  void SetCurSel(int position) override { sel = position; }
  int GetCurSel() const override { return sel; }
  std::vector<std::string> rows;
  int sel = -1;
};

struct Catalogue {
  const OptionEntry* rows;
  int count;
};

TEST(Options, CataloguesRowForRow) {
  const std::vector<std::pair<Catalogue, std::vector<std::pair<std::string, int>>>> expected = {
      {{PortOptions, kPortOptionCount},
       {{"COM1", 1}, {"COM2", 2}, {"COM3", 3}, {"COM4", 4}, {"COM5", 5}, {"COM6", 6}, {"COM7", 7},
        {"COM8", 8}, {"COM9", 9}}},
      {{BaudRateOptions, kBaudRateOptionCount},
       {{"2400", 2400}, {"4800", 4800}, {"9600", 9600}, {"14400", 14400}, {"19200", 19200},
        {"38400", 38400}, {"57600", 57600}, {"115200", 115200}}},
      {{DataBitsOptions, kDataBitsOptionCount}, {{"5 bit", 5}, {"6 bit", 6}, {"7 bit", 7}, {"8 bit", 8}}},
      {{StopBitsOptions, kStopBitsOptionCount}, {{"1 bit", 0}, {"1.5 bit", 1}, {"2 bit", 2}}},
      {{ParityOptions, kParityOptionCount}, {{"None", 0}, {"Odd", 1}, {"Event", 2}}},
      {{CommandOptions, GetCommandCount()},
       {{"File Download", 0}, {"Irdeto Factory Program", 1}, {"Irdeto Factory Lock", 2},
        {"Irdeto Dev Program", 6}, {"Irdeto Secure Lock", 3}, {"Irdeto Secure Check", 4},
        {"Irdeto Loader Status", 5}, {"Hdcp Download", 7}}},
  };
  for (const auto& [cat, rows] : expected) {
    ASSERT_EQ(cat.count, static_cast<int>(rows.size()));
    for (int i = 0; i < cat.count; ++i) {
      EXPECT_EQ(rows[i].first, cat.rows[i].text);
      EXPECT_EQ(rows[i].second, cat.rows[i].value);
    }
  }
}

TEST(Options, SetupFillsInOrderAndSelectsByValue) {
  struct Case {
    Catalogue cat;
    int32_t value;
    int expectedSel;
  };
  const Case cases[] = {
      {{BaudRateOptions, kBaudRateOptionCount}, 115200, 7},
      {{CommandOptions, kCommandOptionCount}, 2, 2},
      {{CommandOptions, kCommandOptionCount}, 6, 3},
      {{StopBitsOptions, kStopBitsOptionCount}, 1, 1},
      {{BaudRateOptions, kBaudRateOptionCount}, 115201, -1},  // no nearest-value fallback
  };
  for (const Case& c : cases) {
    FakeList list;
    SetupOptionCombo(list, c.cat.rows, c.cat.count, c.value);
    ASSERT_EQ(c.cat.count, static_cast<int>(list.rows.size()));
    for (int i = 0; i < c.cat.count; ++i) EXPECT_EQ(c.cat.rows[i].text, list.rows[i]);
    EXPECT_EQ(c.expectedSel, list.sel) << c.value;
  }
}

TEST(Options, NoMatchChangesNothingAndReturnsCount) {
  FakeList list;
  FillOptionCombo(list, PortOptions, kPortOptionCount);
  list.sel = 4;
  EXPECT_EQ(9, SelectOptionByValue(list, PortOptions, kPortOptionCount, 0));
  EXPECT_EQ(4, list.sel);
}

TEST(Options, SelectedValueNeverReadsOutsideTheCatalogue) {
  FakeList list;
  FillOptionCombo(list, ParityOptions, kParityOptionCount);
  for (int sel : {-1, -7, 3, 1000}) {
    list.sel = sel;
    EXPECT_FALSE(SelectedOptionValue(list, ParityOptions, kParityOptionCount).has_value()) << sel;
  }
  list.sel = 2;
  EXPECT_EQ(2, SelectedOptionValue(list, ParityOptions, kParityOptionCount));
  EXPECT_EQ(6, OptionValueAt(CommandOptions, GetCommandCount(), 3));
}

}  // namespace
