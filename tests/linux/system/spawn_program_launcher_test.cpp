#include "linux/system/spawn_program_launcher.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace taviro {
namespace {

// Runs the main loop until `done` or about five seconds have passed.
template <typename Done>
bool PumpUntil(Done done) {
  for (int i = 0; i < 500 && !done(); ++i) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(10000);
  }
  return done();
}

TEST(SpawnProgramLauncher, PassesArgumentsUntouchedWithoutAShell) {
  testing::TempFolder folder;
  SpawnProgramLauncher launcher;
  // A shell would expand $HOME and split on blanks and ";"; the program must
  // see the text as given.
  ASSERT_TRUE(launcher.Start("/usr/bin/touch", {(folder / "a $HOME; b").string()}));
  EXPECT_TRUE(PumpUntil([&] { return folder.Exists("a $HOME; b"); }));
}

TEST(SpawnProgramLauncher, AMissingProgramIsReportedNotStarted) {
  SpawnProgramLauncher launcher;
  EXPECT_FALSE(launcher.Start("/nonexistent/QvodTerminal.exe", {}));
}

}  // namespace
}  // namespace taviro
