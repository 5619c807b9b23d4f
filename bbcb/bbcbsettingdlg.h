// The BBCB Setting window: the maker tool, the configuration file, the S/N,
// R/N, manufacturer S/N and MAC, the output folder, and "Start !!" for a run.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "bbcb/bbcbsettings.h"
#include "core/timestamp.h"
#include "platform/dialog.h"
#include "uisupport/uiservices.h"

class CBbcbSettingDlg : public TableDialog<CBbcbSettingDlg> {
 public:
  explicit CBbcbSettingDlg(UiServices& services);

  static const HandlerTable<CBbcbSettingDlg>& Handlers();

  // When "Start !!" was last pressed; nothing until then.
  const std::optional<LocalTime>& StartTime() const { return m_timeStart; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void DestroyWindow() override;
  // Enter closes as Esc does: the fields are kept as they stand, unchecked.
  void OnOK() override;

 private:
  void LoadBbcbSettings();
  void SaveBbcbSettings();
  // Keeps only the hex digits of the field `id`, leaving the caret after the
  // same digits it followed.
  void FilterHexField(int id);
  // Takes the texts from the controls without the length check, for work
  // that only keeps them (filtering, the buttons, closing).
  void RefreshTexts();
  BbcbFields Fields() const;
  void SetFields(const BbcbFields& fields);
  std::string* HexMember(int id);
  // An Open dialog with `filter`, starting at the member's text; a chosen
  // file's full path replaces it.
  void ChooseFile(const char* filter, std::string CBbcbSettingDlg::*member);

  void OnBbcbToolOpen();
  void OnConfigOpen();
  void OnOutputSave();
  void OnBbcbStart();
  void OnManufacturerSnChange();

  UiServices& services_;
  bool checkLimits_ = true;

  std::string m_strMac1;
  std::string m_strMac2;
  std::string m_strMac3;
  std::string m_strMac4;
  std::string m_strMac5;
  std::string m_strMac6;
  std::string m_strManufacturerSn;
  std::string m_strRn;
  std::string m_strSerialNumber;
  std::string m_strBbcbToolPath;
  std::string m_strConfigPath;
  std::string m_strOutputFolder;
  std::optional<LocalTime> m_timeStart;
};
