#include "dvt/dvtfileset.h"

#include "core/paths.h"

// The catalogue's image names in lower case; "dvtapp.bin" and "mankey.dnl"
// come before "devkey.dnl".
const char* const DvtFileSet[kDvtFileSetCount] = {
    "bbcb.bin",     "dev002.sdl",   "dvtapp.bin",   "mankey.dnl",   "devkey.dnl",   "work004.sdl",
    "var_upd.vdl",  "non_sign.sdl", "load-1.sdl",   "wrong_hw.sdl", "wron_man.sdl", "non_gte3.sdl",
    "badstart.sdl", "bad_end.sdl",  "bad_char.sdl", "noncrc.sdl",   "work110.sdl",  "work011.sdl",
    "work209.sdl",  "work000.sdl",  "seq-1.sdl",    "same_seq.sdl", "seqx1001.sdl", "seqx1000.sdl",
};

std::vector<DownloadRow> FindDvtFileRows(const FileSystem& fs, const std::string& folder) {
  std::vector<DownloadRow> rows;
  for (const char* name : DvtFileSet) {
    // Windows matches the name whatever its case on disk; a missing file and
    // an empty one are both left out.
    if (GetFileSizeOrZero(fs, folder + "\\" + name) == 0) continue;
    rows.push_back(DownloadRow{false, folder, name});
  }
  return rows;
}
