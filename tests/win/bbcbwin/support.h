// Drives the BBCB Setting window in-process: the real window on its
// template, typed into as the operator types, with doubles of the services.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "bbcb/bbcbsettingdlg.h"
#include "core/settings.h"
#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/fakes.h"
#include "tests/support/uidoubles.h"

// The window with the dialog layer's messages recorded instead of shown.
class RecordingBbcbDlg : public CBbcbSettingDlg {
 public:
  using CBbcbSettingDlg::CBbcbSettingDlg;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// Opens, types into, clicks and closes the window over `services`.
class BbcbWindowDriver : public WindowDriver<RecordingBbcbDlg> {
 public:
  explicit BbcbWindowDriver(UiServices& services) : services_(services) {}
  ~BbcbWindowDriver() { Close(); }
  BbcbWindowDriver(const BbcbWindowDriver&) = delete;
  BbcbWindowDriver& operator=(const BbcbWindowDriver&) = delete;


  void Open() { ASSERT_TRUE(Show(new RecordingBbcbDlg(services_))); }
  std::string Text(int id) const { return Narrow(ModalWindowWatcher::Text(Item(id))); }

  // Types `text` at the end of the field, one character at a time.
  void Type(int id, const std::string& text) {
    HWND edit = Item(id);
    SetFocus(edit);
    const LPARAM end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    for (wchar_t c : Widen(text)) SendMessageW(edit, WM_CHAR, c, 1);
  }

  std::string Stored(const std::string& name) {
    std::string text = "<none>";
    RegistryValue(kValueText, kSettingsKeyPath, name, services_.settings).Load(&text);
    return text;
  }
  void Put(const std::string& name, const std::string& text) {
    RegistryValue(kValueText, kSettingsKeyPath, name, services_.settings).Save(&text);
  }

 private:
  UiServices& services_;
};
