// The DVT Test window: steps through the DVT cases, shows the case on screen,
// chooses the DVT folder and sends the case's image to the box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

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
  // Puts the view of the case at m_nCurrentCase into the eight case texts;
  // a position outside the catalogue leaves them as they are.
  void ShowCurrentCase();

  void OnOpen();
  void OnTest();
  void OnProv();
  void OnNext();
  bool OnCtlColor(WPARAM wParam, LPARAM lParam, LRESULT* result);

  UiServices& services_;

  std::string m_strAdditional;
  std::string m_strDescription;
  std::string m_strTypicalError;
  std::string m_strFileName;
  std::string m_strInitiation;
  std::string m_strOtaResult;
  std::string m_strDvtPath;
  std::string m_strSerialResult;
  std::string m_strTitle;
  FontOwner m_fontTitle;
  int32_t m_nCurrentCase = 0;
  std::string m_strToolPath;
  int32_t m_nPortIndex;
  int32_t m_nBaudIndex;
  int32_t m_nDataIndex;
  int32_t m_nStopIndex;
  int32_t m_nParityIndex;
};
