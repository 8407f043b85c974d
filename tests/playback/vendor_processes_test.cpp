#include "playback/vendor_processes.h"

#include <gtest/gtest.h>

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

TEST_F(VendorProcessesTest, ARunningVendorPlayerGivesItsFolderAndIsEndedUnlessLeftAlone) {
  h.processes.entries = {{5, "bash", "/usr/bin/bash"},
                         {9, "qvodplayer.EXE", "/opt/vendor/qvodplayer.EXE"},
                         {12, "QvodPlayer.exe", "/opt/vendor/QvodPlayer.exe"},
                         {13, "QvodPlayer.exe.old", "/opt/vendor/QvodPlayer.exe.old"},
                         {20, "QvodTerminal.exe", "/opt/vendor/QvodTerminal.exe"}};
  OnTimer3(h.context);
  EXPECT_EQ(h.processes.terminated, (std::vector<std::int32_t>{9, 12}));  // the name compared in upper case
  EXPECT_EQ(h.now.TerminalFolder, "/opt/vendor/");
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), "/opt/vendor/");
  EXPECT_TRUE(h.launcher.started.empty());  // the helper runs already

  h.processes.terminated.clear();
  h.now.TerminalFolder.clear();
  h.main.SetSetting("S_q", "qvodqi", "1");
  OnTimer3(h.context);
  EXPECT_TRUE(h.processes.terminated.empty());
  EXPECT_EQ(h.now.TerminalFolder, "/opt/vendor/");
}

TEST_F(VendorProcessesTest, AMissingHelperIsStartedFromTheFolderFoundOrTheInstalledOne) {
  h.processes.entries = {{12, "QvodPlayer.exe", "/opt/vendor/QvodPlayer.exe"}};
  OnTimer3(h.context);
  ASSERT_EQ(h.launcher.started.size(), 1U);
  EXPECT_EQ(h.launcher.started[0].program, "/opt/vendor/QvodTerminal.exe");
  const std::vector<std::string> log = Log();
  const auto pumped = std::find(log.begin(), log.end(), "host.ProcessPendingEvents");
  const auto launched = std::find(log.begin(), log.end(), "launch(/opt/vendor/QvodTerminal.exe)");
  EXPECT_LT(pumped, launched);

  // No vendor process: the helper beside the program, when it is there.
  h.processes.entries.clear();
  h.now.TerminalFolder.clear();
  h.launcher.started.clear();
  OnTimer3(h.context);
  EXPECT_TRUE(h.launcher.started.empty());
  EXPECT_EQ(h.now.TerminalFolder, "");
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), "/opt/vendor/");  // left as it was

  std::filesystem::create_directories(h.main.folder / "Qvod");
  h.main.folder.Write("Qvod/QvodTerminal.exe", "");
  OnTimer3(h.context);
  const std::string installed = (h.main.folder.path() / "Qvod").string() + "/";
  ASSERT_EQ(h.launcher.started.size(), 1U);
  EXPECT_EQ(h.launcher.started[0].program, installed + "QvodTerminal.exe");
  EXPECT_EQ(h.main.Setting("S_q", "qvodw"), installed);

  // A running helper alone tells the folder too.
  h.now.TerminalFolder.clear();
  h.processes.entries = {{30, "QvodTerminal.exe", "/srv/q/QvodTerminal.exe"}};
  OnTimer3(h.context);
  EXPECT_EQ(h.now.TerminalFolder, "/srv/q/");
}

TEST_F(VendorProcessesTest, QuitStopsThePlayerOnlyInPlayerModeAndEndsTheVendorOnlyWhenAsked) {
  std::vector<std::string> steps;
  const QuitHooks hooks{[&] { steps.push_back("close"); }, [&] { steps.push_back("finish"); }};
  h.processes.entries = {{12, "QvodPlayer.exe"}, {20, "QvodTerminal.exe"}};

  h.window().model.ContentMode = ContentMode::kWebPlayPage;  // the web play page
  ttt_v(h.window(), h.processes, hooks);
  EXPECT_EQ(Log(), std::vector<std::string>{"tray.Remove"});
  EXPECT_TRUE(h.processes.terminated.empty());
  EXPECT_EQ(steps, (std::vector<std::string>{"close", "finish"}));

  h.main.log.entries.clear();
  h.main.SetSetting("S_q", "qvodk", "2");
  h.window().model.ContentMode = ContentMode::kPlayer;
  h.window().model.SuppressClick = 1;  // a right click pending must not swallow the stop
  ttt_v(h.window(), h.processes, hooks);
  EXPECT_EQ(Log(), (std::vector<std::string>{"tray.Remove", "bo_but.Click(1)"}));
  EXPECT_EQ(h.processes.terminated, (std::vector<std::int32_t>{12, 20}));
}

}  // namespace
}  // namespace taviro
