// A DVT run: the tool command line for the case on screen, the script
// "run_Dvttest.bat", and running it.
#pragma once

#include <cstdint>
#include <string>

#include "core/timestamp.h"
#include "core/services.h"

extern const char* const kDvtScriptName;  // "run_Dvttest.bat"

// What a run reads: the main window's tool path and the list positions of its
// five serial lists as they were when the DVT Test window opened (-1 for a list
// without a selection), the DVT folder and the case on screen.
struct DvtRunInputs {
  std::string toolPath;
  int32_t portIndex = -1;
  int32_t baudIndex = -1;
  int32_t dataIndex = -1;
  int32_t stopIndex = -1;
  int32_t parityIndex = -1;
  std::string dvtPath;
  int32_t currentCase = 0;
};

// The tool command line (BuildToolCommandLine, every piece) with the case's
// image in the DVT folder as its one checked row: "Dev002.sdl" bare for a file
// download, "-cmd irdeto_dev_program -arg0 <image>" for case 0. Empty when the
// tool path or the DVT folder is empty, the case is outside the catalogue, or
// a path cannot be passed as one argument.
std::string BuildDvtCommandLine(const DvtRunInputs& in);

// ComposeToolRunScript of that command line.
std::string ComposeDvtScript(const DvtRunInputs& in, const LocalTime& time);

// Runs the script without capture through RunScriptFile; true only when a
// run took place.
bool RunDvtTest(RunServices& services, const DvtRunInputs& in, const LocalTime& time);
