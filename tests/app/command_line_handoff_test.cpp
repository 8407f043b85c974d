#include "app/command_line_handoff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists/media_lists.h"
#include "playback/playback_context.h"
#include "support/fake_text_fetcher.h"
#include "support/inert_process_ports.h"
#include "support/main_window_harness.h"
#include "support/manual_scheduler.h"
#include "support/recording_list_views.h"
#include "util/ansi_text.h"
#include "util/timer.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using testing::ManualScheduler;
using testing::RecordingListViews;
using R = RegionId;
using Log = std::vector<std::string>;

using testing::NoLauncher;
using testing::NoProcesses;

TEST(CommandLinePath, DropsEveryQuoteAndOneTrailingSlash) {
  EXPECT_EQ(CommandLinePath("\"/media/My Film.mkv\""), "/media/My Film.mkv");
  // Two quoted arguments are not split: they make one path.
  EXPECT_EQ(CommandLinePath("\"/a/b c.avi\" \"/d/e.avi\""), "/a/b c.avi /d/e.avi");
  EXPECT_EQ(CommandLinePath("mivuvod://12-0-3/"), "mivuvod://12-0-3");
  // The quotes go first, so a slash inside them is still the last character.
  EXPECT_EQ(CommandLinePath("\"/m/x.mkv/\""), "/m/x.mkv");
  EXPECT_EQ(CommandLinePath("/m/dir//"), "/m/dir/");
  EXPECT_EQ(CommandLinePath("a\"b\"\"c"), "abc");
  EXPECT_EQ(CommandLinePath("\"\""), "");
  EXPECT_EQ(CommandLinePath("/"), "");
  EXPECT_EQ(CommandLinePath("  /x\n"), "  /x\n");
}

TEST(CommandLinePathIn, TakesARelativePathInTheWorkingFolder) {
  const std::filesystem::path folder = "/home/u/clips";
  EXPECT_EQ(CommandLinePathIn("\"clip one.mp4\"", folder), "/home/u/clips/clip one.mp4");
  EXPECT_EQ(CommandLinePathIn("../x/./a.mkv/", folder), "/home/u/x/a.mkv");
  EXPECT_EQ(CommandLinePathIn("/m/a.mkv", folder), "/m/a.mkv");
  EXPECT_EQ(CommandLinePathIn("http://127.0.0.1:1/a.ts", folder), "http://127.0.0.1:1/a.ts");
  EXPECT_EQ(CommandLinePathIn("film.mkv", ""), "film.mkv");  // no folder known
  EXPECT_EQ(CommandLinePathIn("\"\"", folder), "");
}

TEST(HandOffMessage, CarriesTheWorkingFolderBesideTheWholeCommandLine) {
  const HandOffMessage sent{"/home/u/影片 2", "\"a b.mkv\" c"};
  const HandOffMessage got = DecodeHandOff(EncodeHandOff(sent));
  EXPECT_EQ(got.working_folder, sent.working_folder);
  EXPECT_EQ(got.command_line, sent.command_line);
  EXPECT_EQ(got.activation_token, "");
  // Several paths are joined by NULs too.
  const std::string paths = std::string("/m/a.mkv") + '\0' + "/m/b.mkv";
  const HandOffMessage launched = DecodeHandOff(EncodeHandOff({"/w", paths, "token_TIME42"}));
  EXPECT_EQ(launched.working_folder, "/w");
  EXPECT_EQ(launched.command_line, paths);
  EXPECT_EQ(launched.activation_token, "token_TIME42");
  EXPECT_EQ(DecodeHandOff(EncodeHandOff({"/w", ""})).command_line, "");
  // A bare command line has no folder.
  EXPECT_EQ(DecodeHandOff("/m/a.mkv").command_line, "/m/a.mkv");
  EXPECT_EQ(DecodeHandOff("/m/a.mkv").working_folder, "");
}

class CommandLineHandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    h.folder.Write("date_f.dat", "\r\n");  // as start-up leaves an empty list
    lists.RenderListPages();
    views.shown.clear();
    now.next_episode = NextEpisodeLink{"miqvod://next"};
    now.ListKey = "12";
    now.item_kind = ItemKind::kCatalogue;
  }

  void Receive(const std::string& text) {
    ReceiveHandOff(context, text, [this] {
      ++vendor_checks;
      h.log.Add("Timer3.Enabled");
    });
  }
  std::string Locals() const { return h.folder.Read("date_f.dat"); }
  std::string LocalPage() const { return DecodeAnsi(h.folder.Read("f.htm")); }
  // Where the log first shows `entry`; the log's size when it never does.
  std::size_t Index(const std::string& entry) const {
    const auto& entries = h.log.entries;
    return static_cast<std::size_t>(std::find(entries.begin(), entries.end(), entry) - entries.begin());
  }

  // The position is kept under the path, and the catalogue item's next
  // episode no longer follows.
  void ExpectLocalItemStarted(const std::string& path) const {
    EXPECT_EQ(now.ListKey, path);
    EXPECT_EQ(now.item_kind, ItemKind::kLocalFile);
    EXPECT_EQ(now.next_episode, NextEpisode{NoNextEpisode{}});
  }

  MainWindowHarness h;
  WindowModel& m = h.window.model;
  NowPlaying now;
  RecordingListViews views;
  MediaLists lists{h.folder.path(), views};
  testing::FakeTextFetcher http;  // never answers: nothing here asks the service
  NoProcesses processes;
  NoLauncher launcher;
  ManualScheduler scheduler;
  Timer timer1{scheduler, 1000, false, [] {}};
  Timer timer2{scheduler, 2000, false, [] {}};
  Timer timer4{scheduler, 50000, false, [] {}};
  PlaybackContext context{h.window,
                          now,
                          lists,
                          http,
                          processes,
                          launcher,
                          {timer1, timer2, timer4},
                          h.folder.path(),
                          (h.folder.path() / "Qvod").string() + "/",
                          "http://127.0.0.1:1/"};
  int vendor_checks = 0;
};

TEST_F(CommandLineHandOff, AQuotedPathIsPlayedWithoutQuotesAndRecordedWithItsBlank) {
  m.ContentMode = ContentMode::kWebPlayPage;
  Receive("\"/media/My Film.mkv\"");

  EXPECT_EQ(vendor_checks, 1);
  EXPECT_EQ(h.player.url, "/media/My Film.mkv");
  EXPECT_EQ(h.player.state, PlayerState::kPlaying);
  EXPECT_TRUE(timer1.Enabled());
  EXPECT_EQ(m.ContentMode, ContentMode::kPlayer);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
  ExpectLocalItemStarted("/media/My Film.mkv");

  EXPECT_EQ(Locals(), "My Film.mkv|/media/My Film.mkv|0\r\n\r\n");
  EXPECT_NE(LocalPage().find("My Film.mkv"), std::string::npos);
  EXPECT_EQ(views.shown,
            (std::vector<RecordingListViews::Shown>{{ListFile::kLocalFiles, h.folder / "f.htm"}}));

  // The title is centred over the control bar: 11 characters of 7 pixels.
  EXPECT_EQ(m[R::bo_name].caption, "My Film.mkv");
  EXPECT_EQ(m[R::bo_name].rect.width, 77);
  EXPECT_EQ(m[R::bo_name].rect.left, (m[R::bo_zt].rect.width - 77) / 2);

  // Forward first, then the vendor check, the player and the list.
  const Log head(h.log.entries.begin(), h.log.entries.begin() + 3);
  EXPECT_EQ(head, (Log{"Timer3.Enabled", "host.SetVisible(false)", "host.SetVisible(true)"}));
  EXPECT_LT(Index("player.SetUrl(/media/My Film.mkv)"), Index("player.Play"));
}

TEST_F(CommandLineHandOff, ARelativePathIsTakenInTheFolderTheLaterStartCameFrom) {
  Receive(EncodeHandOff({"/home/u/clips", "\"clip one.mp4\""}));
  EXPECT_EQ(h.player.url, "/home/u/clips/clip one.mp4");
  ExpectLocalItemStarted("/home/u/clips/clip one.mp4");
  // The row keeps the whole path, so that it plays again from anywhere.
  EXPECT_EQ(Locals(), "clip one.mp4|/home/u/clips/clip one.mp4|0\r\n\r\n");

  Receive(EncodeHandOff({"/home/u/clips", ""}));  // forward only
  EXPECT_EQ(h.player.url, "/home/u/clips/clip one.mp4");
}

// A file given at start-up plays as a handed-over one does: in the player,
// so that the control bar, the keys and mini mode act on it.
TEST_F(CommandLineHandOff, AFileGivenAtStartUpPlaysInThePlayer) {
  ASSERT_EQ(m.ContentMode, ContentMode::kNothingShown);
  PlayCommandLine(context, "clip.mp4", "/home/u");
  EXPECT_EQ(m.ContentMode, ContentMode::kPlayer);
  EXPECT_EQ(h.player.url, "/home/u/clip.mp4");
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
  ExpectLocalItemStarted("/home/u/clip.mp4");
}

TEST_F(CommandLineHandOff, AnEmptyTextOnlyBringsTheWindowForward) {
  m.state = WindowState::kMinimised;
  h.host.state = WindowState::kMinimised;
  m.shown = false;  // hidden in the notification area
  m.ContentMode = ContentMode::kTvPage;
  Receive("");

  EXPECT_EQ(h.log.entries, (Log{"Timer3.Enabled", "host.SetVisible(false)", "host.SetVisible(true)",
                                "host.SetState(normal)"}));
  EXPECT_TRUE(m.shown);
  EXPECT_EQ(m.state, WindowState::kNormal);
  EXPECT_EQ(m.ContentMode, ContentMode::kTvPage);
  EXPECT_EQ(m.main_tab, MainTab::kCatalogue);
  EXPECT_EQ(now.item_kind, ItemKind::kCatalogue);
  EXPECT_EQ(now.ListKey, "12");
  EXPECT_EQ(Locals(), "\r\n");
  EXPECT_TRUE(views.shown.empty());
  EXPECT_FALSE(timer1.Enabled());
}

TEST_F(CommandLineHandOff, MiniModeIsLeftBeforeTheFilePlays) {
  h.SetSetting("S_q", "h_w", "15000");
  h.SetSetting("S_q", "h_h", "9000");
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(h.window, 3);
  ASSERT_EQ(m.mini_mode, MiniMode::kPlayer);
  h.log.entries.clear();

  Receive("/media/clip.mp4");
  EXPECT_EQ(m.mini_mode, MiniMode::kOff);
  EXPECT_FALSE(m[R::jbi].visible);
  EXPECT_TRUE(m[R::bo_name].visible);
  EXPECT_EQ(m.width_twips, 15000);
  EXPECT_EQ(m.height_twips, 9000);
  EXPECT_EQ(h.window.menu.q_jing, "精简模式");
  // The window takes its normal size, the player item being left is stopped,
  // and only then does the new file play.
  EXPECT_LT(Index("host.Resize(1000,600)"), Index("bo_but.Click(1)"));
  EXPECT_LT(Index("bo_but.Click(1)"), Index("player.SetUrl(/media/clip.mp4)"));
  EXPECT_EQ(h.player.url, "/media/clip.mp4");
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
}

TEST_F(CommandLineHandOff, APathWithoutSlashHasNoNameAndNoRow) {
  Receive("film.mkv");
  EXPECT_EQ(h.player.url, "film.mkv");
  EXPECT_EQ(m[R::bo_name].caption, "");
  EXPECT_EQ(m[R::bo_name].rect.left, m[R::bo_zt].rect.width / 2);
  ExpectLocalItemStarted("film.mkv");
  EXPECT_EQ(Locals(), "|film.mkv|0\r\n\r\n");
  EXPECT_EQ(LocalPage().find("film.mkv"), std::string::npos);
  EXPECT_NE(LocalPage().find("暂无记录"), std::string::npos);
}

TEST_F(CommandLineHandOff, AnAddressIsShownAndListedUnderItsDecodedName) {
  Receive("http://h/v/%E7%94%B5%E5%BD%B1.mp4?k=%2F");
  EXPECT_EQ(m[R::bo_name].caption, "电影.mp4");
  EXPECT_EQ(Locals(), EncodeAnsi("电影.mp4|http://h/v/%E7%94%B5%E5%BD%B1.mp4?k=%2F|0\r\n\r\n"));
  // Bytes that are no text stay as they came.
  Receive("http://h/%FF%00.mp4");
  EXPECT_EQ(m[R::bo_name].caption, "%FF%00.mp4");
}

TEST_F(CommandLineHandOff, AnAddressThePlayerMustNotOpenIsNeitherPlayedNorListed) {
  for (const char* line : {"fdclose://7", "av://v4l2:/dev/video0"}) {
    Receive(line);
    EXPECT_EQ(h.player.url, "") << line;
  }
  EXPECT_EQ(Locals(), "\r\n");
}

TEST_F(CommandLineHandOff, ALongChineseNameIsCutForTheTitleButStoredWhole) {
  const std::string name = "一二三四五六七八九十甲乙丙丁戊己庚.mkv";
  h.folder.Write("date_f.dat", EncodeAnsi(name + "|/v/" + name + "|620\r\nb.avi|/v/b.avi|5\r\n"));

  AddAndPlayLocalFile(context, "/v/" + name + "/");
  EXPECT_EQ(m[R::bo_name].caption, "一二三四五六七八九十甲乙丙丁戊");
  EXPECT_EQ(m[R::bo_name].rect.left, (m[R::bo_zt].rect.width - 15 * 7) / 2);
  // Opened again, the file moves to the top with its position cleared.
  EXPECT_EQ(Locals(), EncodeAnsi(name + "|/v/" + name + "|0\r\nb.avi|/v/b.avi|5\r\n"));
  EXPECT_TRUE(timer1.Enabled());
  // AddAndPlayLocalFile alone neither brings the window forward nor touches the content.
  EXPECT_EQ(Index("host.SetVisible(false)"), h.log.entries.size());
  EXPECT_EQ(m.ContentMode, ContentMode::kNothingShown);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
}

}  // namespace
}  // namespace taviro
