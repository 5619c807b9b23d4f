#include "dvt/dvtrun.h"

#include "core/options.h"
#include "core/paths.h"
#include "dvt/dvtcatalogue.h"
#include "invocation/script.h"

const char* const kDvtScriptName = "run_Dvttest.bat";

std::string BuildDvtCommandLine(const DvtRunInputs& in) {
  if (in.dvtPath.empty() || GetPathFileName(in.toolPath).empty()) return {};
  if (in.currentCase < 0 || in.currentCase >= GetDvtTestCaseCount()) return {};
  const DvtTestCase& testCase = DvtTestCatalogue[in.currentCase];
  // A list without a selection puts no piece on the line, as in the main window.
  ToolCommandInputs tool;
  tool.toolPath = in.toolPath;
  tool.port = OptionValueAt(PortOptions, kPortOptionCount, in.portIndex);
  tool.baudRate = OptionValueAt(BaudRateOptions, kBaudRateOptionCount, in.baudIndex);
  tool.dataBits = OptionValueAt(DataBitsOptions, kDataBitsOptionCount, in.dataIndex);
  tool.stopBits = OptionValueAt(StopBitsOptions, kStopBitsOptionCount, in.stopIndex);
  tool.parity = OptionValueAt(ParityOptions, kParityOptionCount, in.parityIndex);
  tool.command = testCase.commandCode;
  // The folder as given: a drive root D:\ gives D:\\Dev002.sdl, read as D:\Dev002.sdl.
  tool.rows = {DownloadRow{true, in.dvtPath, testCase.fileName}};
  return BuildToolCommandLine(tool, CommandLineSelection::Script());
}

std::string ComposeDvtScript(const DvtRunInputs& in, const LocalTime& time) {
  return ComposeToolRunScript(in.toolPath, BuildDvtCommandLine(in), time);
}

bool RunDvtTest(RunServices& services, const DvtRunInputs& in, const LocalTime& time) {
  return RunScriptFile(services, in.toolPath, kDvtScriptName, ComposeDvtScript(in, time), false);
}
