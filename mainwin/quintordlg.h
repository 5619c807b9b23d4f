// The main window: serial settings, command, download file list, lock
// options, debug switches, output file, "Start" and the run history.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/mainsettings.h"
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
  struct SerialList;
  static const std::vector<SerialList>& SerialLists();

  void LoadSettings();
  void SaveSettings();

  void OnToolOpen();
  void OnBbcbSetting();
  void OnDvtTest();
  void OnSelchangeCommand();
  void OnRclickDownloadList();
  bool OnKeydownDownloadList(WPARAM wParam, LPARAM lParam, LRESULT* result);
  bool OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT* result);
  void ShowPopupMenu(POINT at);
  bool OnDropFiles(WPARAM wParam, LPARAM lParam, LRESULT* result);
  void OnInsert();
  // The download list's rows as the command line reads them.
  std::vector<DownloadRow> DownloadRows() const;
  void InsertFiles(const std::vector<std::string>& paths);
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
  MainSettings settings_;

  std::string& m_strToolPath = settings_.toolPath;
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
  std::string& m_strOutputPath = settings_.outputPath;
  HICON m_hIcon = nullptr;
  HICON m_hSmallIcon = nullptr;
  int32_t& m_nPort = settings_.port;
  int32_t& m_nBaudRate = settings_.baudRate;
  int32_t& m_nDataBits = settings_.dataBits;
  int32_t& m_nStopBits = settings_.stopBits;
  int32_t& m_nParity = settings_.parity;
  std::string& m_strDvtPath = settings_.dvtPath;
};
