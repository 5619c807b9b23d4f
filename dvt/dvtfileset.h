// The DVT image set: the 24 image names the download file list can be filled
// with in one step, and which of them a folder holds.
#pragma once

#include <string>
#include <vector>

#include "core/services.h"
#include "invocation/toolcmdline.h"

constexpr int kDvtFileSetCount = 24;
// Lower-case names, in the order the rows are added.
extern const char* const DvtFileSet[kDvtFileSetCount];

// One unchecked row (folder, name) for each name of the set that `folder`
// holds as a non-empty file, in set order. The folder is used as given, also
// when it ends in a backslash; the name is the set's own, whatever its case on
// disk.
std::vector<DownloadRow> FindDvtFileRows(const FileSystem& fs, const std::string& folder);
