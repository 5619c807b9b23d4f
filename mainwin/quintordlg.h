// The main window: serial settings, command, download file list, lock
// options, debug switches, output file, "Start" and the run history.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/timestamp.h"
#include "invocation/toolcmdline.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "uisupport/uiservices.h"

class CQuintorDlg : public TableDialog<CQuintorDlg> {
 public:
  explicit CQuintorDlg(UiServices& services);

  static const HandlerTable<CQuintorDlg>& Handlers();

  // Appends a download row: selected, focused, unchecked; column 1 the
  // folder, column 2 the file name.
  void AppendFileRow(const std::string& folder, const std::string& fileName);
  // Takes the state from the controls and gives what the command line reads.
  ToolCommandInputs CollectToolInputs();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void DestroyWindow() override;

 private:
  void LoadSettings();
  void SaveSettings();
  void AppendRunHistory(const LocalTime& start, const ToolCommandInputs& inputs);
  void SetupListColumns();

  void OnToolOpen();
  void OnBbcbSetting();
  void OnDvtTest();
  void OnSelchangeCommand();
  void OnRclickDownloadList();
  void OnInsert();
  void OnDelete();
  void OnDvtTestFileInsert();
  void OnStart();
  void OnViewLog();
  void OnDebugCapture();
  void OnOutputFileSave();
  void OnOutputFileView();
  bool OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT* result);
  bool OnPaint(WPARAM wParam, LPARAM lParam, LRESULT* result);
  bool OnQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT* result);

  UiServices& services_;

  std::string m_strToolPath;
  ComboBox m_cbPort;
  ComboBox m_cbBaudRate;
  ComboBox m_cbDataBits;
  ComboBox m_cbStopBits;
  ComboBox m_cbParity;
  ComboBox m_cbCommand;
  ListView m_lcDownloadFiles;
  ListView m_lcRunHistory;
  bool m_bDebugPrint = true;
  bool m_bDebugCapture = false;
  bool m_bScs = false;
  bool m_bJei = false;
  bool m_bCw = false;
  std::string m_strOutputPath;
  HICON m_hIcon = nullptr;
  HICON m_hSmallIcon = nullptr;
  int32_t m_nPort = 1;
  int32_t m_nBaudRate = 115200;
  int32_t m_nDataBits = 8;
  int32_t m_nStopBits = 0;
  int32_t m_nParity = 0;
  std::string m_strDvtPath;
};
