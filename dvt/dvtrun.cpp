#include "dvt/dvtrun.h"

#include <optional>

#include "core/options.h"
#include "core/paths.h"
#include "dvt/dvtcatalogue.h"
#include "invocation/argument.h"
#include "invocation/script.h"
#include "invocation/toolcmdline.h"

const char* const kDvtScriptName = "run_Dvttest.bat";

std::string BuildDvtCommandLine(const DvtRunInputs& in) {
  if (in.toolPath.empty() || in.dvtPath.empty()) return {};
  if (in.currentCase < 0 || in.currentCase >= GetDvtTestCaseCount()) return {};
  const DvtTestCase& testCase = DvtTestCatalogue[in.currentCase];

  const std::string toolName = GetPathFileName(in.toolPath);
  if (toolName.empty()) return {};
  const std::optional<std::string> tool = FormatArgument(toolName);
  // The folder is used as given: a drive root such as D:\ gives D:\\Dev002.sdl,
  // which Windows reads as D:\Dev002.sdl.
  const std::optional<std::string> image = FormatArgument(in.dvtPath + "\\" + testCase.fileName);
  if (!tool || !image) return {};

  // A position outside its catalogue (the main window's list had no selection)
  // reads nothing and puts no piece for that setting on the line, as the main
  // window's own command line does; the tool then keeps its own setting.
  const std::optional<int32_t> port = OptionValueAt(PortOptions, kPortOptionCount, in.portIndex);
  const std::optional<int32_t> dataBits = OptionValueAt(DataBitsOptions, kDataBitsOptionCount, in.dataIndex);

  std::string line = *tool + " ";
  if (port) line += "-c " + std::to_string(*port) + " ";
  line += BaudRatePiece(OptionValueAt(BaudRateOptions, kBaudRateOptionCount, in.baudIndex));
  if (dataBits) line += "-n " + std::to_string(*dataBits) + " ";
  line += StopBitsPiece(OptionValueAt(StopBitsOptions, kStopBitsOptionCount, in.stopIndex));
  line += ParityPiece(OptionValueAt(ParityOptions, kParityOptionCount, in.parityIndex));
  switch (testCase.commandCode) {
    case kCmdFileDownload:
      line += *image + " ";
      break;
    case kCmdIrdetoDevProgram:
      line += CommandPiece(kCmdIrdetoDevProgram) + "-arg0 " + *image + " ";
      break;
    default:
      break;
  }
  line += "-d ";
  return line;
}

std::string ComposeDvtScript(const DvtRunInputs& in, const LocalTime& time) {
  const std::string command = BuildDvtCommandLine(in);
  if (command.empty()) return {};
  return ComposeToolRunScript(in.toolPath, command, time);
}

bool WriteDvtScript(RunServices& services, const DvtRunInputs& in, const LocalTime& time,
                    std::string* scriptPath) {
  const std::string script = ComposeDvtScript(in, time);
  if (script.empty()) return false;
  return WriteScriptFile(services.fs, services.env, kDvtScriptName, script, scriptPath);
}

bool RunDvtTest(RunServices& services, const DvtRunInputs& in, const LocalTime& time) {
  // A tool file that has gone since it was chosen starts nothing.
  if (GetFileSizeOrZero(services.fs, in.toolPath) == 0) return false;
  std::string scriptPath;
  if (!WriteDvtScript(services, in, time, &scriptPath)) return false;
  return services.launcher.RunAndWait(ScriptStartCommand(scriptPath), std::string());
}
