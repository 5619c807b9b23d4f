// The fixed catalogue of the 30 DVT test cases, the texts one case shows,
// stepping from case to case, and the DVT image set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/services.h"
#include "invocation/toolcmdline.h"

// One test case. Texts are UTF-8; an empty text is not the text "N/A".
struct DvtTestCase {
  int32_t index;             // equal to the row's position
  const char* title;
  const char* fileName;      // image file, relative to the DVT folder
  const char* description;   // may be empty
  const char* serialResult;  // may be empty
  const char* otaResult;     // "N/A" where the case has no over-the-air form
  const char* initiation;
  const char* additional;    // empty for most cases
  uint32_t typicalError;     // 0: the download is expected to be accepted
  int32_t commandCode;       // kCmdFileDownload or kCmdIrdetoDevProgram
};

constexpr int kDvtTestCaseCount = 30;
extern const DvtTestCase DvtTestCatalogue[kDvtTestCaseCount];

// Every user of the catalogue takes its bound from here.
int GetDvtTestCaseCount();

// The eight texts the DVT Test window shows for one case.
struct DvtCaseView {
  std::string title;         // "%d. %s"
  std::string fileName;      // "* File Name : %s"
  std::string typicalError;  // "* Tppical Error : 0x%08X", or "... : N/A" for 0
  std::string description;   // "=> %s", or empty for an empty text
  std::string serialResult;  // likewise
  std::string otaResult;     // likewise
  std::string initiation;    // "* Initiation : %s"
  std::string additional;    // "=> %s", or empty for an empty text
};

// Nothing for a position outside the catalogue.
std::optional<DvtCaseView> ComposeCaseView(int position);

// The case before and after `current`, wrapping round at both ends. Any
// position outside the catalogue steps to the last case or the first.
int PreviousDvtCase(int current);
int NextDvtCase(int current);

// The DVT image set: the 24 lower-case image names the download file list can
// be filled with in one step, in the order the rows are added.
constexpr int kDvtFileSetCount = 24;
extern const char* const DvtFileSet[kDvtFileSetCount];

// One unchecked row (folder as given, the set's name) for each name of the set
// that `folder` holds as a non-empty file, whatever its case on disk.
std::vector<DownloadRow> FindDvtFileRows(const FileSystem& fs, const std::string& folder);
