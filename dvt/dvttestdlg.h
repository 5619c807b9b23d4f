// The DVT Test window: steps through the DVT cases, shows the case on screen,
// chooses the DVT folder and sends the case's image to the box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "dvt/dvtcatalogue.h"
#include "dvt/dvtrun.h"
#include "platform/dialog.h"
#include "platform/owner.h"
#include "uisupport/uiservices.h"

class CDvtTestDlg : public TableDialog<CDvtTestDlg> {
 public:
  // The main window's tool path and the list positions of its Port, Baud
  // rate, Data, Stop and Parity lists (-1 for a list without a selection).
  CDvtTestDlg(UiServices& services, const std::string& toolPath, int32_t portIndex, int32_t baudIndex,
              int32_t dataIndex, int32_t stopIndex, int32_t parityIndex);

  static const HandlerTable<CDvtTestDlg>& Handlers();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  // Shows the case at m_nCurrentCase; a position outside the catalogue
  // leaves the case texts as they are.
  void ShowCurrentCase();

  void OnOpen();
  void OnTest();
  void OnProv();
  void OnNext();
  bool OnCtlColor(WPARAM wParam, LPARAM lParam, LRESULT* result);

  UiServices& services_;

  DvtCaseView m_case;
  std::string& m_strTitle = m_case.title;
  std::string& m_strFileName = m_case.fileName;
  std::string& m_strTypicalError = m_case.typicalError;
  std::string& m_strDescription = m_case.description;
  std::string& m_strSerialResult = m_case.serialResult;
  std::string& m_strOtaResult = m_case.otaResult;
  std::string& m_strInitiation = m_case.initiation;
  std::string& m_strAdditional = m_case.additional;
  FontOwner m_fontTitle;
  // What a run is given.
  DvtRunInputs m_run;
  std::string& m_strDvtPath = m_run.dvtPath;
  int32_t& m_nCurrentCase = m_run.currentCase;
  std::string& m_strToolPath = m_run.toolPath;
  int32_t& m_nPortIndex = m_run.portIndex;
  int32_t& m_nBaudIndex = m_run.baudIndex;
  int32_t& m_nDataIndex = m_run.dataIndex;
  int32_t& m_nStopIndex = m_run.stopIndex;
  int32_t& m_nParityIndex = m_run.parityIndex;
};
