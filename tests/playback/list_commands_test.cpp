#include "playback/list_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "list_commands_fixture.h"
#include "window/content_mode.h"
#include "window/layout_support.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using testing::ListCommandsTest;
using Log = std::vector<std::string>;

constexpr const char* kLocals =
    "a.mkv|/m/a.mkv|0\r\nb.mkv|/m/b.mkv|5\r\nc.mkv|/m/c.mkv|9\r\nd.mkv|/m/d.mkv|0\r\n";
// A task of the download helper ("qvod://123|abc|ab.rmvb|" as the catalogue
// escapes it; title 中文, episode 第1集) at 754 s, and a task of a web page.
const std::string kQvodTask = "12|%u4E2D%u6587|%u7B2C1%u96C6|qvod%3A//123%7Cabc%7Cab.rmvb%7C|0|3|754\r\n";
const std::string kWebTask = "7|web|ep|http%3A//127.0.0.1/v.mp4|1|4|30\r\n";

TEST_F(ListCommandsTest, TheDeleteIconOfTheLocalPageRemovesItsLineThroughTheTaskView) {
  ShowLocalList();
  WriteUtf8("date_f.dat", kLocals);
  WriteUtf8("date.dat", kQvodTask);
  EXPECT_TRUE(ClickLink(4, "delk://3/"));
  EXPECT_EQ(ReadUtf8("date_f.dat"), "a.mkv|/m/a.mkv|0\r\nb.mkv|/m/b.mkv|5\r\nd.mkv|/m/d.mkv|0\r\n");
  EXPECT_EQ(ReadUtf8("date.dat"), kQvodTask);
  EXPECT_NE(ReadUtf8("f.htm").find("open://3>·d.mkv"), std::string::npos);
  // Nothing of the lists plays, so the episode list is refreshed too.
  EXPECT_EQ(h.log.entries, (Log{"Web3.Navigate(delk://3/)", "Web4.Navigate(" + PageUri("f.htm") + ")",
                                "Web5.Refresh", "Web4.Refresh"}));
}

TEST_F(ListCommandsTest, TheTaskPageDeletesItsOwnLinesAndLetsOtherAddressesPass) {
  WriteUtf8("date.dat", kWebTask + kQvodTask);
  now.item_kind = ItemKind::kCatalogue;  // a playing task keeps its episode list
  EXPECT_TRUE(ClickLink(3, "delk://2"));
  EXPECT_EQ(ReadUtf8("date.dat"), kWebTask);
  EXPECT_EQ(h.web[5].refreshes, 0);
  EXPECT_EQ(h.web[3].Address(), PageUri("c.htm"));

  EXPECT_FALSE(ClickLink(3, PageUri("c.htm")));
  EXPECT_FALSE(ClickLink(4, "http://127.0.0.1/open://1"));
  EXPECT_TRUE(ClickLink(4, "open://1/"));  // forwarded, without a reload
  EXPECT_EQ(h.web[3].navigations.back(), "open://1/");
  EXPECT_EQ(h.web[4].refreshes, 0);
}

TEST_F(ListCommandsTest, ALocalEntryPlaysFromItsPositionWithItsNameCentred) {
  ShowLocalList();
  h.folder.Write("clip 1.mkv", "media");
  const std::string path = (h.folder / "clip 1.mkv").string();
  // Stored plain but unescaped for display, so %41 shows as A.
  WriteUtf8("date_f.dat", "x|/m/x|0\r\n100%41 一二三四五六七八九十一二三四五.mkv|" + path + "|120\r\n");
  now.ListKey = "5";
  now.next_episode = NextEpisodeLink{"miqvod://5"};
  now.resume_done = now.prefetch_started = true;
  now.item_kind = ItemKind::kCatalogue;
  h.window.model.ContentMode = ContentMode::kPlayer;

  EXPECT_TRUE(ClickLink(4, "open://2/"));
  EXPECT_EQ(h.control_bar.clicks, std::vector<int>{1});  // the item left keeps its position
  EXPECT_EQ(h.player.url, path);
  EXPECT_EQ(h.player.state, PlayerState::kPlaying);
  EXPECT_TRUE(timer1.Enabled());
  const RegionState& name = h.window.model[RegionId::bo_name];
  EXPECT_EQ(name.caption, "100A 一二三四五六七八九十一二");  // 29 of at most 30 wide
  EXPECT_EQ(name.rect.left, layout::Half(h.window.model[RegionId::bo_zt].rect.width - 17 * 7));
  EXPECT_EQ(now.ResumePosition, 120);
  EXPECT_FALSE(now.resume_done || now.prefetch_started);
  EXPECT_EQ(now.next_episode, NextEpisode{NoNextEpisode{}});
  EXPECT_EQ(now.ListKey, path);
  EXPECT_EQ(now.item_kind, ItemKind::kLocalFile);
  EXPECT_EQ(h.window.model.side_tab, SideTab::kLocalFiles);
}

// A file name the list stores as a file:// form plays by its exact bytes.
TEST_F(ListCommandsTest, ALocalEntryPlaysItsExactPathWhateverItHolds) {
  ShowLocalList();
  const std::string path = (h.folder / "a|b\n\xFF.mkv").string();
  h.folder.Write(std::filesystem::path(path).filename().string(), "x");
  lists.AddLocalFile("a", path, 0);
  EXPECT_TRUE(ClickLink(4, "open://1/"));
  EXPECT_EQ(h.player.url, path);
  EXPECT_EQ(now.ListKey, path);
  EXPECT_TRUE(h.prompt.notices.empty());
}

TEST_F(ListCommandsTest, ALocalEntryWhoseFileHasGoneIsReportedAndRemoved) {
  ShowLocalList();
  std::filesystem::create_directory(h.folder / "dir.mkv");  // a folder is no media file
  const std::string gone = (h.folder / "gone.mkv").string();
  const std::string dir = (h.folder / "dir.mkv").string();
  WriteUtf8("date_f.dat", "gone.mkv|" + gone + "|50\r\ndir.mkv|" + dir + "|0\r\n");
  EXPECT_TRUE(ClickLink(3, "open://1"));
  EXPECT_TRUE(ClickLink(3, "open://1"));
  ASSERT_EQ(h.prompt.notices.size(), 2U);
  EXPECT_EQ(h.prompt.notices[0].caption, "提示：");
  EXPECT_EQ(h.prompt.notices[0].text, gone + "不存在!");
  EXPECT_EQ(h.prompt.notices[1].text, dir + "不存在!");
  EXPECT_EQ(ReadUtf8("date_f.dat"), "\r\n");
  EXPECT_EQ(h.window.model.ContentMode, ContentMode::kPlayer);
  EXPECT_TRUE(h.player.url.empty());
}

TEST_F(ListCommandsTest, AHelperTaskResumesInThePlayerAndShowsItsEpisodeList) {
  WriteUtf8("date.dat", kWebTask + kQvodTask);
  now.TerminalFolder = "/opt/taviro/Qvod/";
  processes.running = {{10, "bash"}};
  EXPECT_TRUE(ClickLink(3, "open://2/"));

  EXPECT_EQ(h.window.model.ContentMode, ContentMode::kPlayer);
  EXPECT_EQ(h.window.model[RegionId::bo_name].caption, "中文-第1集");
  EXPECT_EQ(now.ResumePosition, 754);
  EXPECT_EQ(now.CurrentItemKey, "12-0-3-%u4E2D%u6587");
  EXPECT_EQ(now.ListKey, "12");
  EXPECT_EQ(now.item_kind, ItemKind::kCatalogue);
  EXPECT_EQ(h.window.model.side_tab, SideTab::kEpisodes);
  EXPECT_TRUE(timer1.Enabled());
  // The helper is started once pending events ran, before the player gets
  // the address.
  const Log expected{"host.ProcessPendingEvents", "Start(/opt/taviro/Qvod/QvodTerminal.exe)",
                     "player.SetUrl(qvod://123|abc|ab.rmvb|)", "player.Play",
                     "Web5.Navigate(http://127.0.0.1:8080/pp.htm?12-0-3-%u4E2D%u6587-0)"};
  EXPECT_EQ(Log(h.log.entries.end() - 5, h.log.entries.end()), expected);

  // Not again while it runs, nor without a known folder.
  processes.running.push_back({10, "QvodTerminal.exe", "/opt/other/Qvod/QvodTerminal.exe"});
  EXPECT_TRUE(ClickLink(3, "open://2"));
  EXPECT_EQ(launchers.started.size(), 2U);  // another copy's helper does not serve us
  processes.running.push_back({11, "QvodTerminal.exe", "/opt/taviro/Qvod/QvodTerminal.exe"});
  EXPECT_TRUE(ClickLink(3, "open://2"));
  now.TerminalFolder.clear();
  processes.running.clear();
  EXPECT_TRUE(ClickLink(3, "open://2"));
  EXPECT_EQ(launchers.started.size(), 2U);
}

TEST_F(ListCommandsTest, AnUnsetHelperFolderStartsNoHelper) {
  WriteUtf8("date.dat", kQvodTask);
  now.TerminalFolder = "0";  // what a missing qvodw reads as, kept by the link router
  EXPECT_TRUE(ClickLink(3, "open://1"));
  EXPECT_TRUE(launchers.started.empty());
  EXPECT_EQ(h.player.url, "qvod://123|abc|ab.rmvb|");
}

TEST_F(ListCommandsTest, ATaskOfAnotherKindPlaysOnTheServicePage) {
  WriteUtf8("date.dat", kWebTask);
  now.ListKey = "99";
  EXPECT_TRUE(ClickLink(3, "open://1/"));
  EXPECT_EQ(h.window.model.ContentMode, ContentMode::kWebPlayPage);
  EXPECT_EQ(h.web[5].navigations, Log{"http://127.0.0.1:8080/pp.htm?7-1-4-web-14"});
  EXPECT_EQ(now.ListKey, "0");
  EXPECT_EQ(now.item_kind, ItemKind::kCatalogue);
  EXPECT_EQ(h.window.model.side_tab, SideTab::kEpisodes);
  EXPECT_TRUE(h.player.url.empty());
}

TEST_F(ListCommandsTest, RightClicksOfferMenusOnlyOverRowsAndALoadedPlayer) {
  commands.Web3ContextMenu({"", 40, 50});
  commands.Web3ContextMenu({"delk://2", 40, 50});
  commands.Web7ContextMenu({"", 5, 6});
  EXPECT_TRUE(h.menus.popups.empty());
  commands.PlaySelectedRow();  // no row chosen
  EXPECT_TRUE(h.web[3].navigations.empty());

  commands.Web3ContextMenu({"open://2/", 40, 50});
  commands.Web3ContextMenu({"", 1, 1});  // empty space keeps the row chosen before
  h.player.url = "/m/a.mkv";
  commands.Web7ContextMenu({"", 5, 6});
  commands.PlaySelectedRow();
  EXPECT_EQ(h.web[3].navigations, std::vector<std::string>{"open://2/"});
  ASSERT_EQ(h.menus.popups.size(), 2U);
  EXPECT_EQ(h.menus.popups[0].menu, PopupMenu::webc);
  EXPECT_EQ(h.menus.popups[0].x + h.menus.popups[0].y, 90);
  EXPECT_EQ(h.menus.popups[1].menu, PopupMenu::qvod_m);
  EXPECT_EQ(h.menus.popups[1].x, 5);
}

TEST_F(ListCommandsTest, TheFooterClearsTheLocalListOrOffersTheTaskListMenuAndClearsOnlyOnYes) {
  WriteUtf8("date.dat", kQvodTask);
  commands.QkClick();
  ASSERT_EQ(h.menus.popups.size(), 1U);
  EXPECT_EQ(h.menus.popups[0].menu, PopupMenu::c_fie);
  EXPECT_TRUE(h.menus.popups[0].at_pointer);
  h.prompt.answers = {false, true, false, true};
  commands.ClearNetworkTasks();
  EXPECT_EQ(ReadUtf8("date.dat"), kQvodTask);
  EXPECT_FALSE(h.folder.Exists("c.htm"));
  commands.ClearNetworkTasks();
  EXPECT_EQ(h.prompt.questions.at(1).caption, "提示：");
  EXPECT_EQ(h.prompt.questions.at(1).text, "确定要删除全部[网络任务]列表吗？");
  EXPECT_EQ(ReadUtf8("date.dat"), "\r\n");
  EXPECT_EQ(h.web[3].Address(), PageUri("c.htm"));

  ShowLocalList();
  WriteUtf8("date_f.dat", kLocals);
  h.window.model[RegionId::qk].fore_colour = kHoverRed;
  commands.QkClick();
  EXPECT_EQ(h.window.model[RegionId::qk].fore_colour, kFooterGrey);
  EXPECT_EQ(ReadUtf8("date_f.dat"), kLocals);
  commands.QkClick();
  EXPECT_EQ(h.prompt.questions.at(2).text, "确定要删除全部[本地播放]列表吗？");
  EXPECT_EQ(ReadUtf8("date_f.dat"), "\r\n");
  EXPECT_NE(ReadUtf8("f.htm").find("暂无记录"), std::string::npos);
  commands.ClearNetworkTasks();  // the task list's command does nothing here
  EXPECT_EQ(h.prompt.questions.size(), 4U);
  EXPECT_EQ(h.menus.popups.size(), 1U);
}

}  // namespace
}  // namespace taviro
