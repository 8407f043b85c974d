#include "playback/link_router.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "settings/setting_keys.h"
#include "support/playback_harness.h"
#include "util/ansi_text.h"
#include "util/file_uri.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

using testing::PlaybackHarness;

constexpr const char* kMedia = "http://127.0.0.1:8080/media/a.mp4";
constexpr const char* kEscapedMedia = "http%3A//127.0.0.1%3A8080/media/a.mp4";
constexpr const char* kName = "%u7B2C1%u96C6";  // 第1集
constexpr const char* kTemplate = "<p>[ly]</p>\n<script>var d=[ly];</script>";

class LinkRouterTest : public ::testing::Test {
 protected:
  LinkRouterTest() {
    h.lists.CreateMissingListFiles();
    h.list_views.shown.clear();
  }

  std::string Reply(const std::string& id, const std::string& v, const std::string& v1) const {
    return h.Base() + "h.asp?id=" + id + "&v=" + v + "&v1=" + v1;
  }
  // The episode-list view navigated by the catalogue link, played.
  void FollowWeb1() { ASSERT_TRUE(router.Web1BeforeNavigate(h.web(1).Address())); }
  void FollowLink(const std::string& uri) { ASSERT_TRUE(router.Web1BeforeNavigate(uri)); }
  std::string Status() { return h.window().model[RegionId::zhun].caption; }
  std::string Title() { return h.window().model[RegionId::bo_name].caption; }
  std::vector<std::string> Balloons() {
    std::vector<std::string> texts;
    for (const auto& balloon : h.main.tray.balloons) texts.push_back(balloon.text);
    return texts;
  }
  std::string Tasks() { return DecodeAnsi(h.main.folder.Read("date.dat")); }
  std::size_t LogIndex(const std::string& entry) {
    const auto& log = h.main.log.entries;
    return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
  }

  PlaybackHarness h;
  LinkRouter router{h.context, kTemplate};
};

TEST_F(LinkRouterTest, ACatalogueEntryIsResolvedThenPlayedInThePlayer) {
  h.http.bodies[Reply("12", "0", "3")] = std::string(kName) + "$" + kMedia + "$qvod";
  EXPECT_TRUE(router.Web1BeforeNavigate("mivuvod://12-0-3-abc/"));
  EXPECT_EQ(h.http.requests, std::vector<std::string>{Reply("12", "0", "3")});
  EXPECT_EQ(Status(), kSearchingStatus);
  EXPECT_EQ(h.web(1).Address(),
            std::string("miqvod://qvod&&&") + kEscapedMedia + "&&&abc&&&" + kName + "&&&12&&&0&&&3");

  h.timer1.SetEnabled(false);
  FollowWeb1();
  EXPECT_EQ(h.main.player.url, kMedia);
  EXPECT_EQ(h.main.player.state, PlayerState::kPlaying);
  EXPECT_EQ(h.window().model.ContentMode, ContentMode::kPlayer);
  EXPECT_TRUE(h.timer1.Enabled());
  EXPECT_EQ(h.now.ListKey, "12");
  EXPECT_EQ(h.now.CurrentItemKey, "12-0-3-abc");
  EXPECT_EQ(h.now.item_kind, ItemKind::kCatalogue);
  EXPECT_EQ(Title(), "abc-第1集");
  EXPECT_EQ(h.window().model.main_tab, MainTab::kPlayer);
  EXPECT_EQ(h.window().model.side_tab, SideTab::kEpisodes);
  // No flag: the entry's episode list is loaded; the task goes on top.
  ASSERT_EQ(h.web(5).navigations.size(), 1U);
  EXPECT_NE(h.web(5).navigations[0].find("pp.htm?12-0-3-abc-0"), std::string::npos);
  EXPECT_EQ(Tasks(), std::string("12|abc|") + kName + "|" + kEscapedMedia + "|0|3|0\r\n\r\n");
  EXPECT_TRUE(h.main.tray.balloons.empty());
}

// The window answers a click before the service does, and of two entries
// clicked before either answer the later one plays, whatever order the
// answers come in.
TEST_F(LinkRouterTest, TheWindowAnswersAtOnceAndTheLastEntryClickedWins) {
  h.http.answer_at_once = false;
  h.http.bodies[Reply("12", "0", "3")] = std::string(kName) + "$http://h/first.mp4$qvod";
  h.http.bodies[Reply("13", "0", "4")] = std::string(kName) + "$http://h/second.mp4$qvod";
  router.Web1BeforeNavigate("mivuvod://12-0-3-abc/");
  EXPECT_EQ(Status(), kSearchingStatus);
  EXPECT_EQ(h.window().model.main_tab, MainTab::kPlayer);
  router.Web1BeforeNavigate("mivuvod://13-0-4-def/");
  EXPECT_TRUE(h.web(1).navigations.empty());

  ASSERT_TRUE(h.http.AnswerNewest());
  ASSERT_TRUE(h.http.AnswerNewest());
  EXPECT_EQ(h.web(1).navigations,
            std::vector<std::string>{std::string("miqvod://qvod&&&http%3A//h/second.mp4&&&def&&&") + kName +
                                     "&&&13&&&0&&&4"});
  EXPECT_TRUE(h.main.tray.balloons.empty());
}

// A link or a service reply naming a descriptor must never reach the
// player: the item playing goes on and nothing is recorded.
TEST_F(LinkRouterTest, AnAddressThePlayerMustNotOpenIsRefused) {
  h.main.player.url = kMedia;
  h.http.bodies[Reply("12", "0", "3")] = "n$fdclose://7$qvod";
  EXPECT_TRUE(router.Web1BeforeNavigate("mivuvod://12-0-3-abc/"));
  FollowWeb1();
  EXPECT_TRUE(router.Web1BeforeNavigate("miqvod://qvod&&&fdclose%3A%2F%2F7&&&t&&&n&&&1&&&0&&&0"));
  EXPECT_TRUE(router.Web1BeforeNavigate("miqvod://qvod&&&av%3A//x11grab%3A&&&t&&&n&&&1&&&0&&&0&&&0"));
  // Nor does a page name a file of this machine, or act through an
  // ordinary address that carries a link.
  EXPECT_TRUE(router.Web1BeforeNavigate("miqvod://qvod&&&%2Fhome%2Fu%2Fa.mp4&&&t&&&n&&&1&&&0&&&0"));
  EXPECT_FALSE(router.Web1BeforeNavigate("http://h/x?miqvod://qvod&&&http%3A//m/b&&&t&&&n&&&2&&&0&&&0"));
  EXPECT_EQ(h.main.player.url, kMedia);
  EXPECT_NE(h.window().model.ContentMode, ContentMode::kPlayer);
  EXPECT_EQ(Tasks(), "\r\n");
  EXPECT_EQ(Balloons(), std::vector<std::string>(4, std::string(kReadErrorBalloon)));
}

TEST_F(LinkRouterTest, TheServicesTextIsReadInTheSystemCodePage) {
  h.http.bodies[Reply("3", "0", "0")] = EncodeAnsi("ep$http://h/中.mp4$qvod");
  router.Web1BeforeNavigate("mivuvod://3-0-0-t");
  EXPECT_EQ(h.web(1).Address(), "miqvod://qvod&&&http%3A//h/%u4E2D.mp4&&&t&&&ep&&&3&&&0&&&0");
}

TEST_F(LinkRouterTest, AFailedReplyLeavesThePlayingItemAndSaysSo) {
  struct Case {
    std::string body;
    bool failure_code;
  };
  for (const Case& c :
       {Case{"0", true}, Case{"1", true}, Case{"", true}, Case{"<html>Error 500</html>", false}}) {
    PlaybackHarness fresh;
    LinkRouter fresh_router(fresh.context, kTemplate);
    fresh.now.next_episode = NextEpisodeLink{"miqvod://prepared"};
    fresh.http.bodies[fresh.Base() + "h.asp?id=5&v=0&v1=1"] = c.body;
    EXPECT_TRUE(fresh_router.Web1BeforeNavigate("mivuvod://5-0-1-t"));
    EXPECT_TRUE(fresh.web(1).navigations.empty()) << c.body;
    EXPECT_EQ(fresh.main.player.url, "");
    ASSERT_EQ(fresh.main.tray.balloons.size(), 1U) << c.body;
    EXPECT_EQ(fresh.main.tray.balloons[0].text, kReadErrorBalloon);
    EXPECT_EQ(fresh.main.tray.balloons[0].title, kBalloonTitle);
    EXPECT_EQ(fresh.window().model[RegionId::zhun].caption,
              c.failure_code ? kReadErrorStatus : kSearchingStatus)
        << c.body;
    EXPECT_EQ(fresh.now.next_episode, c.failure_code ? NextEpisode{NextEpisodeFailed{}}
                                                     : NextEpisode{NextEpisodeLink{"miqvod://prepared"}})
        << c.body;
  }
}

TEST_F(LinkRouterTest, AWebKindOpensThePlayPageWithTheAddressStillEscaped) {
  EXPECT_TRUE(router.Web1BeforeNavigate(std::string("miqvod://web&&&") + kEscapedMedia + "&&&t&&&" + kName +
                                        "&&&4&&&0&&&1&&&n&&&1"));
  EXPECT_EQ(h.web(2).Address(), h.Base() + "play.htm?web$$$" + kEscapedMedia);
  EXPECT_EQ(h.window().model.ContentMode, ContentMode::kWebPlayPage);
  EXPECT_FALSE(h.timer1.Enabled());
  EXPECT_EQ(h.now.ListKey, "0");
  EXPECT_EQ(h.main.player.url, "");
  EXPECT_EQ(h.now.CurrentItemKey, "4-0-1-t");
  EXPECT_NE(Tasks().find("4|t|"), std::string::npos);
  EXPECT_TRUE(h.web(5).navigations.empty());  // flag "n"
}

TEST_F(LinkRouterTest, FlagZeroReloadsTheEpisodeListWithTheEntryMarked) {
  h.now.next_episode = NextEpisodeRetrying{};
  h.now.next_media = NextMediaRefused{};
  h.now.ResumePosition = 300;
  h.now.prefetch_started = true;
  router.Web1BeforeNavigate(std::string("miqvod://qvod&&&") + kEscapedMedia + "&&&xyz&&&n1&&&7&&&1&&&4&&&0");
  EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?7-1-4-xyz-0");
  EXPECT_EQ(h.now.next_episode, NextEpisode{NoNextEpisode{}});
  EXPECT_EQ(h.now.next_media, NextMedia{NextMediaUnresolved{}});
  EXPECT_EQ(h.now.ResumePosition, 0);
  EXPECT_FALSE(h.now.prefetch_started);
}

TEST_F(LinkRouterTest, AnItemWithoutTitleAddressOrIdIsPlayedButNotListed) {
  for (const std::string& link : {std::string("miqvod://qvod&&&http%3A//m/u&&&&&&n&&&7&&&0&&&0&&&0"),
                                  std::string("miqvod://qvod&&&&&&t&&&n&&&7&&&0&&&0&&&0"),
                                  std::string("miqvod://qvod&&&http%3A//m/u&&&t&&&n&&&0&&&0&&&0&&&0")}) {
    EXPECT_TRUE(router.Web1BeforeNavigate(link));
    EXPECT_TRUE(h.web(5).navigations.empty()) << link;
    EXPECT_EQ(Tasks(), "\r\n") << link;
    EXPECT_EQ(h.now.item_kind, ItemKind::kCatalogue);
  }
}

TEST_F(LinkRouterTest, PlayingOverAPlayingItemStopsItFirst) {
  h.window().model.ContentMode = ContentMode::kPlayer;
  router.Web1BeforeNavigate("miqvod://qvod&&&http%3A//m/a&&&t&&&n&&&1&&&0&&&0");
  EXPECT_EQ(h.main.control_bar.clicks, std::vector<int>{1});
  EXPECT_LT(LogIndex("bo_but.Click(1)"), LogIndex("player.SetUrl(http://m/a)"));
  EXPECT_LT(LogIndex("player.SetUrl(http://m/a)"), LogIndex("player.Play"));
}

TEST_F(LinkRouterTest, TheTitleLineIsCutAndCentred) {
  // Twenty characters, forty wide: cut to fifteen.
  std::string title;
  for (int i = 0; i < 20; ++i) title += "%u4E2D";
  router.Web1BeforeNavigate("miqvod://qvod&&&http%3A//m/a&&&" + title + "&&&" + kName + "&&&1&&&0&&&0");
  EXPECT_EQ(Title(), "中中中中中中中中中中中中中中中-第1集");
  const Rect name = h.window().model[RegionId::bo_name].rect;
  EXPECT_EQ(name.width, 19 * 7);
  EXPECT_EQ(name.left, (h.window().model[RegionId::bo_zt].rect.width - 19 * 7) / 2);
}

TEST_F(LinkRouterTest, TheDownloadHelperIsStartedFromItsKnownFolderWhenNotRunning) {
  const std::string link = "miqvod://qvod&&&http%3A//m/a&&&t&&&n&&&1&&&0&&&0";
  h.main.SetSetting("S_q", "qvodw", "/opt/qvod/");
  router.Web1BeforeNavigate(link);
  ASSERT_EQ(h.launcher.started.size(), 1U);
  EXPECT_EQ(h.launcher.started[0].program, "/opt/qvod/QvodTerminal.exe");
  EXPECT_LT(LogIndex("launch(/opt/qvod/QvodTerminal.exe)"), LogIndex("player.SetUrl(http://m/a)"));
  // Remembered: a changed setting is not read again.
  h.main.SetSetting("S_q", "qvodw", "/elsewhere/");
  router.Web1BeforeNavigate(link);
  EXPECT_EQ(h.launcher.started.back().program, "/opt/qvod/QvodTerminal.exe");
  // Running already from that folder: nothing is started. Another copy's
  // helper of the same name does not count.
  h.processes.entries = {{40, "bash", "/usr/bin/bash"}, {41, "QvodTerminal.exe", "/srv/QvodTerminal.exe"}};
  router.Web1BeforeNavigate(link);
  EXPECT_EQ(h.launcher.started.size(), 3U);
  h.processes.entries.push_back({42, "QvodTerminal.exe", "/opt/qvod/QvodTerminal.exe"});
  router.Web1BeforeNavigate(link);
  EXPECT_EQ(h.launcher.started.size(), 3U);
}

TEST_F(LinkRouterTest, NoHelperFolderKnownStartsNothingButStillPlays) {
  h.launcher.succeeds = false;
  router.Web1BeforeNavigate("miqvod://qvod&&&http%3A//m/a&&&t&&&n&&&1&&&0&&&0");
  EXPECT_TRUE(h.launcher.started.empty());
  EXPECT_EQ(h.main.player.url, "http://m/a");
}

TEST_F(LinkRouterTest, TheEpisodeListForwardsPlayLinksToTheCatalogue) {
  EXPECT_FALSE(router.Web5BeforeNavigate("about:blank#miqvod://qvod&&&a"));
  EXPECT_TRUE(router.Web5BeforeNavigate("mivuvod://1-0-0-t"));
  EXPECT_FALSE(router.Web5BeforeNavigate(h.Base() + "pp.htm?1-0-0-t-0"));
  EXPECT_EQ(h.web(1).navigations, (std::vector<std::string>{"mivuvod://1-0-0-t"}));
  EXPECT_TRUE(h.http.requests.empty());  // the catalogue view's handler does the rest
}

TEST_F(LinkRouterTest, AChannelLinkStartsTheTvPageOnlyFromTheStartOfTheAddress) {
  EXPECT_FALSE(router.Web11BeforeNavigate("http://h/?mitvs://cctv1"));
  EXPECT_TRUE(h.web(10).navigations.empty());
  EXPECT_TRUE(router.Web11BeforeNavigate("mitvs://cctv%u4E2D"));
  EXPECT_EQ(h.web(10).Address(), h.Base() + "tv/mivutv.htm?cctv%u4E2D");
  EXPECT_TRUE(h.window().model[RegionId::gtv].visible);
  EXPECT_EQ(h.window().model.ContentMode, ContentMode::kTvPage);
}

TEST_F(LinkRouterTest, TheEndAddressGoesOnToTheNextEpisode) {
  h.main.SetSetting("S_q", "s_bo", "2");
  h.now.CurrentItemKey = "7-1-4-xyz";
  h.timer1.SetEnabled(false);
  h.now.next_episode = NextEpisodeRetrying{};
  EXPECT_TRUE(router.Web2BeforeNavigate(std::string(PlaybackHarness::kSentinel) + "?end"));
  EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?7-1-4-xyz-15");
  EXPECT_TRUE(h.timer1.Enabled());

  h.now.CurrentItemKey = "7-1-9-a-b";  // a title holding "-"
  h.now.next_episode = NoNextEpisode{};
  router.Web2BeforeNavigate(PlaybackHarness::kSentinel);
  EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?7-1-9-a-b-110");

  h.now.next_episode = NextEpisodeLink{"miqvod://qvod&&&next"};
  router.Web2BeforeNavigate(PlaybackHarness::kSentinel);
  EXPECT_EQ(h.web(1).Address(), "miqvod://qvod&&&next");
  EXPECT_EQ(h.web(5).navigations.size(), 2U);
}

TEST_F(LinkRouterTest, TheEndAddressStopsWhenThereIsNoNextEpisode) {
  h.now.CurrentItemKey = "7-1-4-xyz";
  h.now.next_episode = NoNextEpisode{};
  // Off: nothing follows, but the poller runs again.
  h.timer1.SetEnabled(false);
  EXPECT_TRUE(router.Web2BeforeNavigate(PlaybackHarness::kSentinel));
  EXPECT_TRUE(h.timer1.Enabled());
  h.main.SetSetting("S_q", "s_bo", "2");
  h.now.next_episode = NextEpisodeFailed{};  // the service failed
  EXPECT_TRUE(router.Web2BeforeNavigate(PlaybackHarness::kSentinel));
  h.now.next_episode = NoNextEpisode{};
  h.now.CurrentItemKey = "0";  // nothing from the catalogue played
  EXPECT_TRUE(router.Web2BeforeNavigate(PlaybackHarness::kSentinel));
  EXPECT_TRUE(h.web(5).navigations.empty());
  EXPECT_TRUE(h.web(1).navigations.empty());
  // Any other address is the play page's own business.
  h.timer1.SetEnabled(false);
  EXPECT_FALSE(router.Web2BeforeNavigate(h.Base() + "play.htm?web$$$a"));
  EXPECT_FALSE(h.timer1.Enabled());
}

class DangJTest : public LinkRouterTest {
 protected:
  std::string Page() { return h.main.folder.Read("t.htm"); }
  std::string LocalPage(const std::string& query) { return FileUri(h.main.folder / "t.htm") + "?" + query; }
};

TEST_F(DangJTest, WritesTheLocalPageFromTheCataloguesEpisodeData) {
  h.web(1).script_results = {
      "<div>x</div><script>var VideoInfoList=\"第一$$第1集$u$qvod\";\nvar b=2;</script>"};
  router.DangJ("%u4E2D-x", 12, 0, 3);
  EXPECT_EQ(h.web(1).scripts, std::vector<std::string>{"document.body.innerHTML"});
  EXPECT_EQ(
      Page(),
      EncodeAnsi("<p>\"第一$$第1集$u$qvod\"</p>\r\n<script>var d=\"第一$$第1集$u$qvod\";</script>\r\n"));
  EXPECT_EQ(h.web(5).Address(), LocalPage("12-0-3-%u4E2D-x-0"));
}

TEST_F(DangJTest, WithoutEpisodeDataTheServicesListIsShown) {
  for (const std::string& body : {std::string("<p>no data</p>"), std::string()}) {
    h.web(1).script_results = {body};
    router.DangJ("abc", 5, 1, 2);
    EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?5-1-2-abc-0");
  }
  EXPECT_FALSE(h.main.folder.Exists("t.htm"));
}

TEST_F(DangJTest, APageThatCannotBeWrittenIsStillShown) {
  h.context.app_folder = h.main.folder / "missing" / "";
  h.web(1).script_results = {"var VideoInfoList=\"s$$e$u$qvod\";"};
  router.DangJ("t", 1, 0, 0);
  EXPECT_EQ(h.web(5).Address(), FileUri(h.main.folder / "missing" / "t.htm") + "?1-0-0-t-0");
}

TEST_F(DangJTest, ACataloguePageAsksThroughTheAutomationInterface) {
  h.web(1).script_results = {"var VideoInfoList=\"s$$e$u$qvod\";"};
  EXPECT_TRUE(router.OnExternalCall("DangJ", {"%u4E2D", "9", "0", "0"}));
  EXPECT_EQ(h.web(5).Address(), LocalPage("9-0-0-%u4E2D-0"));
  EXPECT_FALSE(router.OnExternalCall("shengji", {}));
  EXPECT_EQ(h.web(1).scripts.size(), 1U);
}

// A catalogue page may ask for its list and follow an entry in one click;
// DangJ's list is the one left in Web5, whichever of its answer and the play
// link comes first.
TEST_F(DangJTest, TheListDangJAskedForIsNotReplacedByTheReloadOfAnEntryOfTheSameSeries) {
  const std::string entry =
      std::string("miqvod://qvod&&&") + kEscapedMedia + "&&&%u4E2D&&&" + kName + "&&&9&&&0&&&3";
  h.web(5).dispatch_navigations = true;
  h.web(5).handlers.before_navigate = [this](const std::string& uri) {
    return router.Web5BeforeNavigate(uri);
  };
  for (const bool answer_first : {true, false}) {
    h.web(5).navigations.clear();
    router.DangJ("%u4E2D", 9, 0, 0);
    if (answer_first) h.web(1).unanswered.back()("var VideoInfoList=\"s$$e$u$qvod\";");
    FollowLink(entry);
    if (!answer_first) h.web(1).unanswered.back()("var VideoInfoList=\"s$$e$u$qvod\";");
    EXPECT_EQ(h.web(5).Address(), LocalPage("9-0-0-%u4E2D-0")) << answer_first;
  }
  // Another list shown since: an entry reloads its list as before.
  h.web(5).Navigate(h.Base() + "pp.htm?3-0-0-x-0");
  FollowLink(entry);
  EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?9-0-3-%u4E2D-0");
}

TEST_F(DangJTest, TheListFollowsTheAnswerAndALateAnswerReachesNoRouterThatIsGone) {
  router.DangJ("t", 1, 0, 0);
  EXPECT_TRUE(h.web(5).navigations.empty());  // nothing before the page answers
  ASSERT_EQ(h.web(1).unanswered.size(), 1U);
  h.web(1).unanswered[0]("");
  EXPECT_EQ(h.web(5).Address(), h.Base() + "pp.htm?1-0-0-t-0");

  auto gone = std::make_unique<LinkRouter>(h.context, kTemplate);
  gone->DangJ("u", 2, 0, 0);
  gone.reset();
  h.web(1).unanswered.back()("");
  EXPECT_EQ(h.web(5).navigations.size(), 1U);
}

}  // namespace
}  // namespace taviro
