// The maker tool's command line and the run's stamped folder.
#pragma once

#include <string>

#include "core/timestamp.h"

// Everything a BBCB run reads, as the BBCB Setting window holds it.
struct BbcbInputs {
  std::string toolPath;        // full path of irdeto_make_bbcb.exe
  std::string configPath;      // full path of the configuration file
  std::string outputFolder;    // no trailing backslash, except a drive's root (C:\)
  std::string serialNumber;    // S/N
  std::string rn;              // R/N
  std::string manufacturerSn;  // manufacturer S/N
  LocalTime start;             // when "Start !!" was pressed
};

// Which pieces a composition writes; each switch may be chosen alone.
struct BbcbCommandSelection {
  bool toolName = false;
  bool config = false;
  bool serialNumber = false;
  bool rn = false;
  bool manufacturerSn = false;
  bool output = false;

  static BbcbCommandSelection All();
};

// True when none of the six required values is empty.
bool HasBbcbRequiredValues(const BbcbInputs& in);

// The selected pieces in their fixed order: tool file name, -config, -sn, -rn,
// -manufacturer_sn (always between double quotes), -output with the path of
// bbcb.bin in `stampedFolder`. Every piece but the output ends in one blank.
// Each value is exactly one argument. Empty when a required value is empty or
// when any of the values cannot be passed as one unchanged argument, whatever
// the selection. Creates nothing.
std::string BuildBbcbCommandLine(const BbcbInputs& in, const std::string& stampedFolder,
                                 const BbcbCommandSelection& sel);

// "-config <value> " and "-output <value>" for a value as it stands; empty
// when the value cannot be passed as one argument.
std::string BbcbConfigPiece(const std::string& configValue);
std::string BbcbOutputPiece(const std::string& outputValue);

// The stamp of a start time: "%Y%m%d_%p%H%M", such as 20110315_PM1445.
std::string BbcbStamp(const LocalTime& start);

// The output folder, '\' and the stamp; for the n-th run of one minute (n >= 2)
// the stamp is followed by "_n".
std::string BbcbStampedFolder(const std::string& outputFolder, const LocalTime& start, int n = 1);

// Where the maker tool writes the image: `stampedFolder` followed by "\bbcb.bin".
std::string BbcbImagePath(const std::string& stampedFolder);
