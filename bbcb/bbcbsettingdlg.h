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

  void OnBbcbToolOpen();
  void OnConfigOpen();
  void OnOutputSave();
  void OnBbcbStart();

  UiServices& services_;
  BbcbFields fields_;
  std::string& m_strBbcbToolPath = fields_.toolPath;
  std::string& m_strConfigPath = fields_.configPath;
  std::string& m_strSerialNumber = fields_.serialNumber;
  std::string& m_strRn = fields_.rn;
  std::string& m_strManufacturerSn = fields_.manufacturerSn;
  std::string& m_strOutputFolder = fields_.outputFolder;
  std::string& m_strMac1 = fields_.mac[0];
  std::string& m_strMac2 = fields_.mac[1];
  std::string& m_strMac3 = fields_.mac[2];
  std::string& m_strMac4 = fields_.mac[3];
  std::string& m_strMac5 = fields_.mac[4];
  std::string& m_strMac6 = fields_.mac[5];
  std::optional<LocalTime> m_timeStart;  // when "Start !!" was last pressed
};
