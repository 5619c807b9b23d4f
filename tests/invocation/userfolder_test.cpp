#include <gtest/gtest.h>

#include "core/paths.h"
#include "invocation/script.h"
#include "tests/support/fakes.h"
#include "tests/support/runinputs.h"

// The per-user folder is made only when the program's folder refuses the
// script or the capture log and they go there.
TEST(UserFolder, MadeOnlyWhenUsed) {
  for (const int run : {0, 1, 2, 3}) {
    const bool refused = run & 1;
    FakeFileSystem fs;
    FakeLauncher launcher;
    FakeEnvironment env;
    RunServices services{fs, launcher, env};
    fs.AddFile("D:\\Dorvik.exe", "MZ");
    if (refused) fs.refused.push_back(GetModuleFolder(env));
    ASSERT_TRUE(RunToolScript(services, FileDownloadInputs("D:\\Dorvik.exe", "E:", "a"), LocalTime{}, run & 2));
    ViewCaptureLog(services);
    EXPECT_EQ(refused, fs.FolderExists("C:\\Users\\op\\AppData\\Local\\Quintor")) << run;
    EXPECT_EQ(refused, fs.Has(env.userFolder + kRunScriptName)) << run;
  }
}
