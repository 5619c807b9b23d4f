// What a BBCB run leaves beside bbcb.bin: the config copy and "ReadMe.txt".
#pragma once

#include <string>

#include "bbcb/bbcbcommand.h"
#include "core/services.h"

struct BbcbOutput {
  bool imageFound = false;     // the maker tool left bbcb.bin in the stamped folder
  bool configCopied = false;
  bool readMeWritten = false;
};

// The ten ReadMe lines, each ending in CR LF: the time line and an empty line,
// the tool's file name, then after a tab each the config file's name, the S/N,
// the R/N, the manufacturer S/N, nothing, and "-output bbcb.bin"; then an empty
// line. Empty when no command line can be built.
std::string ComposeBbcbReadMe(const BbcbInputs& in, const std::string& stampedFolder);

// The name the config copy takes in the stamped folder (box.cfg as box.CFG).
std::string BbcbConfigCopyName(const std::string& configPath);

// The ReadMe's bytes: in the ANSI code page when every character has its
// exact form there (an ASCII ReadMe stays as composed), otherwise UTF-8 after
// a byte-order mark, so nothing is lost.
std::string EncodeBbcbReadMe(const Environment& env, const std::string& readMe);

// After the maker tool has ended: when bbcb.bin is in `stampedFolder`, copies
// the config file into it and writes "ReadMe.txt" there. Without the image
// nothing is added, so nothing claims an image that was not made.
BbcbOutput FinishBbcbOutput(FileSystem& fs, const Environment& env, const BbcbInputs& in,
                            const std::string& stampedFolder);
