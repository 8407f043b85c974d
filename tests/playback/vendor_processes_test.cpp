#include "playback/vendor_processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/playback_harness.h"

namespace taviro {
namespace {

using testing::PlaybackHarness;

class VendorProcessesTest : public ::testing::Test {
 protected:
  std::vector<std::string> Log() const { return h.main.log.entries; }

  PlaybackHarness h;
};

// The harness's installation keeps its helper in <folder>/Qvod/; another
// copy of the program runs the same names from /opt/other/Qvod/.
TEST_F(VendorProcessesTest, OnlyThisInstallationsPlayerGivesItsFolderAndIsEndedUnlessLeftAlone) {
  const std::string own = h.context.helper_folder;
  h.processes.entries = {{5, "bash", "/usr/bin/bash"},
                         {8, "QvodPlayer.exe", "/opt/other/Qvod/QvodPlayer.exe"},
                         {12, "QvodPlayer.exe", own + "QvodPlayer.exe"},
                         {13, "QvodPlayer.exe.old", own + "QvodPlayer.exe.old"},
                         {20, "QvodTerminal.exe", own + "QvodTerminal.exe"}};
  CheckVendorProcesses(h.context);
  EXPECT_EQ(h.processes.terminated, (std::vector<std::int32_t>{12}));
  EXPECT_EQ(h.now.TerminalFolder, own);
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), own);
  EXPECT_TRUE(h.launcher.started.empty());  // the helper runs already

  h.processes.terminated.clear();
  h.now.TerminalFolder.clear();
  h.main.SetSetting("S_q", "qvodqi", "1");
  CheckVendorProcesses(h.context);
  EXPECT_TRUE(h.processes.terminated.empty());
  EXPECT_EQ(h.now.TerminalFolder, own);
}

TEST_F(VendorProcessesTest, AnotherCopysHelperDoesNotKeepOursFromStarting) {
  const std::string own = h.context.helper_folder;
  // Not installed: nothing to start, and the stored folder stays.
  h.main.SetSetting("S_q", "qvodw", "/opt/vendor/");
  CheckVendorProcesses(h.context);
  EXPECT_TRUE(h.launcher.started.empty());
  EXPECT_EQ(h.now.TerminalFolder, "");
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), "/opt/vendor/");

  std::filesystem::create_directories(h.main.folder / "Qvod");
  h.main.folder.Write("Qvod/QvodTerminal.exe", "");
  h.processes.entries = {{30, "QvodTerminal.exe", "/opt/other/Qvod/QvodTerminal.exe"},
                         {31, "QvodTerminal.exe", ""}};  // its path unreadable
  CheckVendorProcesses(h.context);
  ASSERT_EQ(h.launcher.started.size(), 1U);
  EXPECT_EQ(h.launcher.started[0].program, own + "QvodTerminal.exe");
  const std::vector<std::string> log = Log();
  const auto pumped = std::find(log.begin(), log.end(), "host.ProcessPendingEvents");
  const auto launched = std::find(log.begin(), log.end(), "launch(" + own + "QvodTerminal.exe)");
  EXPECT_LT(pumped, launched);
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), own);
  EXPECT_TRUE(h.processes.terminated.empty());

  // Ours running, by a path spelled another way, is not started twice.
  h.now.TerminalFolder.clear();
  h.launcher.started.clear();
  h.processes.entries = {
      {40, "QvodTerminal.exe", (h.main.folder.path() / "Qvod/./QvodTerminal.exe").string()}};
  CheckVendorProcesses(h.context);
  EXPECT_TRUE(h.launcher.started.empty());
  EXPECT_EQ(h.now.TerminalFolder, own);
}

TEST_F(VendorProcessesTest, QuitStopsThePlayerOnlyInPlayerModeAndEndsOnlyThisInstallationsVendorWhenAsked) {
  std::vector<std::string> steps;
  const QuitHooks hooks{[&] { steps.push_back("close"); }, [&] { steps.push_back("finish"); }};
  const std::string own = "/opt/taviro/Qvod/";
  h.processes.entries = {{12, "QvodPlayer.exe", own + "QvodPlayer.exe"},
                         {20, "QvodTerminal.exe", own + "QvodTerminal.exe"},
                         {21, "QvodTerminal.exe", "/home/u/taviro/Qvod/QvodTerminal.exe"},
                         {22, "QvodTerminal.exe", own + "QvodTerminal.exe"}};

  h.window().model.ContentMode = ContentMode::kWebPlayPage;  // the web play page
  QuitProgram(h.window(), h.processes, own, hooks);
  EXPECT_EQ(Log(), std::vector<std::string>{"tray.Remove"});
  EXPECT_TRUE(h.processes.terminated.empty());
  EXPECT_EQ(steps, (std::vector<std::string>{"close", "finish"}));

  h.main.log.entries.clear();
  h.main.SetSetting("S_q", "qvodk", "2");
  h.window().model.ContentMode = ContentMode::kPlayer;
  h.window().model.ignore_next_click = true;  // a right click pending must not swallow the stop
  QuitProgram(h.window(), h.processes, own, hooks);
  EXPECT_EQ(Log(), (std::vector<std::string>{"tray.Remove", "bo_but.Click(1)"}));
  EXPECT_EQ(h.processes.terminated, (std::vector<std::int32_t>{12, 20, 22}));

  // No installation known: nothing of anyone else's is ended.
  h.processes.terminated.clear();
  QuitProgram(h.window(), h.processes, "", hooks);
  EXPECT_TRUE(h.processes.terminated.empty());
}

}  // namespace
}  // namespace taviro
