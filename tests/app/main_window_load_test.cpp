#include "app/main_window_load.h"

#include <gtest/gtest.h>

#include "app/command_line_handoff.h"
#include "app/start_program.h"
#include "helper/vendor_save_path.h"
#include "lists/media_lists.h"
#include "ports/instance_channel.h"
#include "ports/player_probe.h"
#include "ports/uri_launcher.h"
#include "support/main_window_harness.h"
#include "support/recording_list_views.h"
#include "window/mini_mode.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

using R = RegionId;

class RecordingLauncher : public UriLauncher {
 public:
  void Open(const std::string& uri) override { opened.push_back(uri); }
  std::vector<std::string> opened;
};

// A player library forced into each state start-up tells apart.
class FakePlayerProbe final : public PlayerProbe {
 public:
  bool CanCreatePlayer() override { return creatable; }
  bool LibraryPresent() override { return present; }
  bool creatable = true;
  bool present = true;
};

class StartUpTest : public ::testing::Test {
 protected:
  StartProgramEnv Env() {
    return StartProgramEnv{h.folder.path(),
                           h.prompt,
                           launcher,
                           lists,
                           player,
                           [] { return std::string("52-54-00-12-34-56"); },
                           "http://127.0.0.1:8080/dl.htm"};
  }
  LoadOutcome Load(std::string command_line = "") {
    MainWindowLoad load{instances, std::move(command_line), "/home/u", h.folder.path(), {}};
    return LoadMainWindow(h.window, load);
  }

  testing::MainWindowHarness h;
  testing::RecordingListViews views;
  MediaLists lists{h.folder.path(), views};
  RecordingLauncher launcher;
  NoOtherInstance instances;
  FakePlayerProbe player;
};

TEST_F(StartUpTest, FirstStartInAnEmptyFolderCreatesEveryFile) {
  ASSERT_EQ(StartProgram(Env()), StartOutcome::kShowWindow);
  EXPECT_EQ(h.folder.Read("date.dat"), "\r\n");
  EXPECT_EQ(h.folder.Read("date_f.dat"), "\r\n");
  EXPECT_NE(h.folder.Read("c.htm").find("\xD4\xDD\xCE\xDE\xBC\xC7\xC2\xBC"), std::string::npos);  // 暂无记录
  EXPECT_EQ(h.Setting("User", "Name"), "52-54-00-12-34-56");
  EXPECT_EQ(h.folder.ListNames(), "Qvod c.htm config.dll date.dat date_f.dat f.htm");
  // The helper's file, naming no folder yet, so that its save folder reads
  // the same before it first runs: the default of whoever runs it.
  EXPECT_TRUE(h.folder.Exists("Qvod/QvodCfg.ini"));
  EXPECT_EQ(ReadSavePath((h.folder / "Qvod").string() + "/"), DefaultSavePath());
}

TEST_F(StartUpTest, TheInstanceThatOwnsTheNameRemovesTheTemporariesOfWritesCutShort) {
  const char* ours[] = {".date.dat.a1B2c3", ".c.htm.XyZ123", ".config.dll.000000", ".t.htm.qqqqqq"};
  // Not of our write pattern, or not beside a file the program writes.
  const char* others[] = {".date.dat.a1B2c", ".date.dat.a1B2c3d", ".notes.txt.a1B2c3", ".date.dat.a-B2c3"};
  for (const char* name : ours) h.folder.Write(name, "cut short");
  for (const char* name : others) h.folder.Write(name, "someone's");
  std::filesystem::create_directory(h.folder / ".f.htm.abcdef");
  // The helper's two files, written by the settings dialog too.
  const std::filesystem::path vendor_temporary =
      VendorFilesFolder(h.folder.path()) + ".QvodPlayer.xml.Ab12Cd";
  std::filesystem::create_directories(vendor_temporary.parent_path());
  h.folder.Write(std::filesystem::relative(vendor_temporary, h.folder.path()).string(), "cut short");

  // Another instance may be writing: nothing goes.
  StartProgram(Env());
  for (const char* name : ours) EXPECT_TRUE(h.folder.Exists(name)) << name;

  StartProgramEnv owner = Env();
  owner.owns_instance = true;
  StartProgram(owner);
  for (const char* name : ours) EXPECT_FALSE(h.folder.Exists(name)) << name;
  for (const char* name : others) EXPECT_TRUE(h.folder.Exists(name)) << name;
  EXPECT_TRUE(h.folder.Exists(".f.htm.abcdef"));
  EXPECT_FALSE(std::filesystem::exists(vendor_temporary));
}

TEST_F(StartUpTest, WithoutAPlayerOffersTheDownloadPageAndEnds) {
  player.creatable = false;
  player.present = false;
  h.prompt.answers.push_back(true);
  EXPECT_EQ(StartProgram(Env()), StartOutcome::kEnd);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"http://127.0.0.1:8080/dl.htm"});
  EXPECT_FALSE(h.folder.Exists("config.dll"));

  h.prompt.answers.push_back(false);
  EXPECT_EQ(StartProgram(Env()), StartOutcome::kEnd);
  EXPECT_EQ(launcher.opened.size(), 1U);
}

TEST_F(StartUpTest, APlayerThatFailsEndsTheStartWithANoticeOfWhatToDo) {
  // Its library is there: start-up goes on, and the window's player decides.
  player.creatable = false;
  EXPECT_EQ(StartProgram(Env()), StartOutcome::kShowWindow);
  EXPECT_TRUE(h.prompt.questions.empty());
  EXPECT_EQ(CheckWindowPlayer(true, player, h.prompt), StartOutcome::kShowWindow);
  EXPECT_TRUE(h.prompt.notices.empty());

  EXPECT_EQ(CheckWindowPlayer(false, player, h.prompt), StartOutcome::kEnd);
  player.present = false;
  EXPECT_EQ(CheckWindowPlayer(false, player, h.prompt), StartOutcome::kEnd);
  ASSERT_EQ(h.prompt.notices.size(), 2U);
  EXPECT_EQ(h.prompt.notices[0].caption, "Taviro");
  EXPECT_EQ(h.prompt.notices[0].text, "软件组件被损坏，重启软件即可恢复！");
  EXPECT_EQ(h.prompt.notices[1].text, "对不起，软件组件已被损坏，请重新下载安装本软件。");
}

TEST_F(StartUpTest, LoadsTheViewsInOrderWithTheirPages) {
  StartProgram(Env());
  h.log.entries.clear();
  const auto loads_logged = [this] {
    std::vector<std::string> loads;
    for (const std::string& entry : h.log.entries) {
      if (entry.rfind("Web", 0) == 0) {
        loads.push_back(entry);
      }
    }
    h.log.entries.clear();
    return loads;
  };
  const std::string base = testing::MainWindowHarness::kBaseUrl;
  const std::string folder = "file://" + h.folder.path().string() + "/";

  // The program's own service tells its address later: its views wait for it.
  h.window.ServiceBaseUrl.clear();
  ASSERT_EQ(Load(), LoadOutcome::kRunning);
  EXPECT_EQ(loads_logged(),
            (std::vector<std::string>{"Web2.Navigate(about:blank)", "Web3.Navigate(" + folder + "c.htm)",
                                      "Web4.Navigate(" + folder + "f.htm)", "Web5.Navigate(about:blank)",
                                      "Web5.WriteDocument"}));
  EXPECT_EQ(h.player.advert_url, "");
  h.window.ServiceBaseUrl = base;
  LoadServiceViews(h.window);
  const std::vector<std::string> later = loads_logged();
  ASSERT_EQ(later.size(), 7U);
  EXPECT_EQ(later.front(), "Web1.Navigate(" + base + ")");
  EXPECT_EQ(h.player.advert_url, base + "js/ads/qvodad.html");

  ASSERT_EQ(Load(), LoadOutcome::kRunning);
  EXPECT_EQ(
      loads_logged(),
      (std::vector<std::string>{
          "Web1.Navigate(" + base + ")", "Web2.Navigate(about:blank)", "Web3.Navigate(" + folder + "c.htm)",
          "Web4.Navigate(" + folder + "f.htm)", "Web5.Navigate(about:blank)", "Web5.WriteDocument",
          "Web6.Navigate(" + base + "tj/tj.asp?id=52-54-00-12-34-56)",
          "Web8.Navigate(" + base + "js/ads/bo.html)", "Web9.Navigate(" + base + "js/ads/jingcai.html)",
          "Web7.Navigate(" + base + "js/ads/qvodad.html)", "Web11.Navigate(" + base + "tv/list.htm)",
          "Web10.Navigate(" + base + "tv/ad.htm)"}));
  EXPECT_EQ(h.web[5].documents.back(), kBlankEpisodePage);
  EXPECT_EQ(h.player.advert_url, base + "js/ads/qvodad.html");
  EXPECT_EQ(h.tray.tooltip, "Taviro");
}

TEST_F(StartUpTest, ALaterStartHandsOverItsWorkingFolderWithItsCommandLine) {
  struct Running final : InstanceChannel {
    bool HandToRunningInstance(const std::string& text) override {
      handed = text;
      return true;
    }
    std::string handed;
  } running;
  MainWindowLoad load{running, "clip.mp4", "/home/u", h.folder.path(), {}};
  EXPECT_EQ(LoadMainWindow(h.window, load), LoadOutcome::kHandedOff);
  EXPECT_EQ(DecodeHandOff(running.handed).working_folder, "/home/u");
  EXPECT_EQ(DecodeHandOff(running.handed).command_line, "clip.mp4");
}

TEST_F(StartUpTest, WindowSizeFollowsTheRememberSizeSetting) {
  StartProgram(Env());
  h.SetSetting("S_q", "h_w", "15000");
  h.SetSetting("S_q", "h_h", "10500");
  Load();
  EXPECT_EQ(h.window.model.width_twips, 15000);
  EXPECT_EQ(h.window.model.height_twips, 10500);

  h.SetSetting("S_q", "s_size", "1");
  Load();
  EXPECT_EQ(h.window.model.width_twips, 14850);
  EXPECT_EQ(h.window.model.height_twips, 9830);
}

// A size saved on a larger screen must not put the close button out of reach.
TEST_F(StartUpTest, TheSavedSizeIsCappedByTheWorkArea) {
  StartProgram(Env());
  h.host.work_area = ScreenRect{0, 30, 1024, 740};  // a panel along the top
  h.SetSetting("S_q", "h_w", "30000");
  h.SetSetting("S_q", "h_h", "20000");
  Load();
  WindowModel& m = h.window.model;
  EXPECT_EQ(m.width_twips, 1024 * 15);
  EXPECT_EQ(m.height_twips, 710 * 15);
  EXPECT_EQ(m.left_twips, 0);
  EXPECT_EQ(m.top_twips, 30 * 15);

  // Leaving mini mode goes back to the saved size under the same limit.
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(h.window, 3);
  ASSERT_EQ(m.mini_mode, MiniMode::kPlayer);
  JbiClick(h.window);
  EXPECT_EQ(m.width_twips, 1024 * 15);
  EXPECT_EQ(m.height_twips, 710 * 15);
}

// Skin 1 has no pause picture of its own: the slot keeps the one the window
// was made with, skin 0's.
TEST_F(StartUpTest, ThePausePictureIsThereUnderEitherSkin) {
  StartProgram(Env());
  h.pictures.missing = {120, 220, 221};
  for (const char* skin : {"1", "0"}) {
    h.pictures.slots.fill(0);
    h.SetSetting("Skin", "Num", skin);
    Load();
    EXPECT_EQ(h.pictures.slots[20], 121) << skin;
  }
}

TEST_F(StartUpTest, StoredSkinIsAppliedWithoutBeingWrittenAgain) {
  StartProgram(Env());
  h.SetSetting("Skin", "Num", "5");
  Load();
  EXPECT_EQ(h.pictures.slots[0], 201);  // skin 1 first picture
  EXPECT_EQ(h.Setting("Skin", "Num"), "5");
  EXPECT_TRUE(h.window.model.laid_out);
  // The catalogue waits behind the loading cover until it has loaded.
  EXPECT_FALSE(h.window.model[R::Pic1].visible);
  EXPECT_TRUE(h.window.model[R::wait].visible);
  EXPECT_TRUE(h.window.model[R::zzp].visible);
  EXPECT_FALSE(h.window.model[R::zz].visible);
}

}  // namespace
}  // namespace taviro
