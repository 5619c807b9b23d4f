#include "tests/win/bbcbwin/support.h"

// Enter closes the window and saves as Esc does, whatever the fields hold:
// only "Start !!" checks the limits.
TEST(BbcbEnter, ClosesAndSavesOverLongStoredFieldsUnchecked) {
  UiDoubles doubles;
  BbcbWindowDriver window(doubles.services);
  window.Put("BBCB_SN", "0123456789");
  window.Open();
  HWND hwnd = window.hwnd;
  SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(PumpMessagesUntil([hwnd] { return !IsWindow(hwnd); }));
  EXPECT_TRUE(window.dialog->messages.empty());
  EXPECT_EQ("0123456789", window.Stored("BBCB_SN"));
}
