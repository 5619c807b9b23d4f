#include <gtest/gtest.h>

#include "bbcb/bbcbjob.h"
#include "tests/support/fakes.h"

// The ReadMe in the (Western) ANSI code page when it holds every character,
// otherwise UTF-8 after a byte-order mark.
TEST(BbcbReadMe, AnsiWhenEveryCharacterFitsElseMarkedUtf8) {
  const struct {
    const char* manufacturerSn;
    const char* written;
    bool marked;
  } cases[] = {{"MF001", "MF001", false}, {"Café", "Caf\xE9", false}, {"한국", "한국", true}};
  for (const auto& c : cases) {
    FakeFileSystem fs;
    fs.AddFile("G:\\rel\\x\\bbcb.bin", "image");
    BbcbInputs in;
    in.toolPath = "D:\\irdeto_make_bbcb.exe";
    in.configPath = "E:\\box.cfg";
    in.outputFolder = "G:\\rel";
    in.serialNumber = in.rn = "0A";
    in.manufacturerSn = c.manufacturerSn;
    ASSERT_TRUE(FinishBbcbOutput(fs, FakeEnvironment(), in, "G:\\rel\\x").readMeWritten);
    const std::string readMe = fs.Content("G:\\rel\\x\\ReadMe.txt");
    EXPECT_EQ(c.marked, readMe.compare(0, 3, "\xEF\xBB\xBF") == 0) << c.manufacturerSn;
    EXPECT_NE(std::string::npos, readMe.find("\t-manufacturer_sn \"" + std::string(c.written) + "\" \r\n"));
  }
}
