#include "app/open_local_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line_handoff.h"
#include "app/hand_off_paths.h"
#include "support/playback_harness.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

using Paths = std::vector<std::string>;

TEST(HandOffPaths, OnePathTravelsAsItselfAndSeveralSurviveExactly) {
  EXPECT_EQ(JoinHandOffPaths({}), "");
  EXPECT_EQ(JoinHandOffPaths({"/media/My \"Film\".mkv"}), "/media/My \"Film\".mkv");
  const Paths several{"/a/b c.avi", "", "/d/新.mp4\n"};
  EXPECT_EQ(SplitHandOffPaths(JoinHandOffPaths(several)), several);
  EXPECT_EQ(SplitHandOffPaths(""), Paths{});
  // A text from a start that sends one path, as every start did before.
  EXPECT_EQ(SplitHandOffPaths("\"/a/b c.avi\" \"/d/e.avi\""), Paths{"\"/a/b c.avi\" \"/d/e.avi\""});
}

TEST(HandOffPaths, AUriListGivesTheLocalFilesDecoded) {
  const std::string list =
      "# dropped\r\n"
      "file:///media/My%20Film%E4%B8%AD.mkv\r\n"
      "FILE://localhost/m/a%25b.mp4\r\n"
      "file://other-host/m/x.mp4\r\n"
      "http://127.0.0.1/v.mp4\r\n"
      "file:///m/bad%2.mp4\r\n"
      "file:///m/nul%00.mp4\r\n"
      "file:///m/last.mp4";
  EXPECT_EQ(LocalPathsOfUriList(list), (Paths{"/media/My Film中.mkv", "/m/a%b.mp4", "/m/last.mp4"}));
  EXPECT_EQ(LocalPathsOfUriList(""), Paths{});
}

// 2000 addresses in one OpenUri call or drop stalled the window and
// replaced the whole local list.
TEST(HandOffPaths, ListsAreBoundedInCountAndLength) {
  std::string list;
  Paths many;
  for (int i = 0; i < 2000; ++i) {
    list += "file:///m/" + std::to_string(i) + ".mp4\r\n";
    many.push_back("/m/" + std::to_string(i) + ".mp4");
  }
  const Paths taken = LocalPathsOfUriList(list);
  EXPECT_EQ(taken, Paths(many.begin(), many.begin() + kMostHandOffPaths));
  EXPECT_EQ(SplitHandOffPaths(JoinHandOffPaths(many)).size(), kMostHandOffPaths);

  // One huge line is cut off whole, not taken as a shorter address.
  const std::string huge = "file:///m/a.mp4\nfile:///m/" + std::string(kLongestHandOffText, 'x') + "\n";
  EXPECT_EQ(LocalPathsOfUriList(huge), Paths{"/m/a.mp4"});
}

class OpenLocalFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.main.folder.Write("date_f.dat", "old.mkv|/v/old.mkv|70\r\n");
    h.main.window.model.ContentMode = ContentMode::kWebPlayPage;
  }
  std::string Locals() const { return h.main.folder.Read("date_f.dat"); }

  testing::PlaybackHarness h;
  WindowModel& m = h.main.window.model;
};

TEST_F(OpenLocalFilesTest, TheFirstPlaysAndAllAreListedWithTheFirstOnTop) {
  const std::string a = "/v/a \"1\".mkv/";  // exact: no quote or slash taken off
  OpenLocalFiles(h.context, {a, "/v/b.mp4", "/v/old.mkv"});
  EXPECT_EQ(h.main.player.url, a);
  EXPECT_EQ(h.main.player.state, PlayerState::kPlaying);
  EXPECT_EQ(m.ContentMode, ContentMode::kPlayer);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
  EXPECT_EQ(h.now.ListKey, a);
  EXPECT_EQ(h.now.item_kind, ItemKind::kLocalFile);
  EXPECT_EQ(Locals(), "|" + a + "|0\r\nb.mp4|/v/b.mp4|0\r\nold.mkv|/v/old.mkv|0\r\n");
  EXPECT_TRUE(h.main.tray.balloons.empty());
}

TEST_F(OpenLocalFilesTest, FoldersAreRefusedWithOneBalloon) {
  const std::string folder = h.main.folder.path().string();
  OpenLocalFiles(h.context, {folder, folder + "/"});
  ASSERT_EQ(h.main.tray.balloons.size(), 1U);
  EXPECT_EQ(h.main.tray.balloons[0].text, kFolderRefusedText);
  EXPECT_EQ(h.main.player.url, "");
  EXPECT_EQ(m.ContentMode, ContentMode::kWebPlayPage);
  EXPECT_EQ(Locals(), "old.mkv|/v/old.mkv|70\r\n");

  OpenLocalFiles(h.context, {folder, "/v/b.mp4"});
  EXPECT_EQ(h.main.tray.balloons.size(), 2U);
  EXPECT_EQ(h.main.player.url, "/v/b.mp4");
  EXPECT_EQ(Locals(), "b.mp4|/v/b.mp4|0\r\nold.mkv|/v/old.mkv|70\r\n");
}

TEST_F(OpenLocalFilesTest, SeveralPathsOfAStartOrAHandOffAreOpenedTogether) {
  ClickTitleBarButton(h.main.window, 3);  // mini mode
  ASSERT_EQ(m.mini_mode, MiniMode::kPlayer);
  ReceiveHandOff(h.context, EncodeHandOff({"", JoinHandOffPaths({"/v/a.mkv", "/v/b.mkv"})}), {});
  EXPECT_EQ(m.mini_mode, MiniMode::kOff);
  EXPECT_TRUE(m.shown);
  EXPECT_EQ(h.main.player.url, "/v/a.mkv");
  EXPECT_EQ(Locals(), "a.mkv|/v/a.mkv|0\r\nb.mkv|/v/b.mkv|0\r\nold.mkv|/v/old.mkv|70\r\n");

  // One path stays the one text AddAndPlayLocalFile takes, quotes and all.
  OpenCommandLine(h.context, "\"/v/c d.mkv\"");
  EXPECT_EQ(h.main.player.url, "/v/c d.mkv");
  OpenCommandLine(h.context, JoinHandOffPaths({"/v/e.mkv", "/v/a.mkv"}));
  EXPECT_EQ(h.main.player.url, "/v/e.mkv");
  EXPECT_EQ(Locals().substr(0, 36), "e.mkv|/v/e.mkv|0\r\na.mkv|/v/a.mkv|0\r\n");
}

}  // namespace
}  // namespace taviro
