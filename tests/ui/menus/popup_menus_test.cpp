#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ports/web_view.h"
#include "support/fake_dialog_window.h"
#include "support/fake_folder_chooser.h"
#include "support/fake_process_table.h"
#include "support/fake_program_launcher.h"
#include "support/fake_uri_launcher.h"
#include "support/main_window_harness.h"
#include "ui/menus/main_menu.h"
#include "ui/menus/player_menu.h"
#include "ui/menus/web_page_menu.h"
#include "ui/settings/settings_dialog.h"
#include "window/tab_selection.h"
#include "window/title_bar_commands.h"
#include "window/window_state.h"

namespace taviro {
namespace {

using Log = std::vector<std::string>;
using testing::MainWindowHarness;

// "name=caption" per item, submenus in brackets, hidden items marked.
std::string Describe(const std::vector<MenuItemData>& items) {
  std::string text;
  for (const MenuItemData& item : items) {
    text += std::string(item.name) + "=" + std::string(item.caption);
    if (item.hidden) text += "(hidden)";
    if (!item.submenu.empty()) text += "[" + Describe(item.submenu) + "]";
    text += " ";
  }
  return text;
}

// The names of the checked items among `items` and their submenus.
std::string Checked(const MenuModel& menu, const std::vector<MenuItemData>& items) {
  std::string text;
  for (const MenuItemData& item : items) {
    if (CheckMark(menu, item.name).value_or(false)) text += std::string(item.name) + " ";
    text += Checked(menu, item.submenu);
  }
  return text;
}

const MenuItemData& Find(const std::vector<MenuItemData>& items, std::string_view name) {
  for (const MenuItemData& item : items) {
    if (item.name == name) return item;
    for (const MenuItemData& inner : item.submenu) {
      if (inner.name == name) return inner;
    }
  }
  throw std::out_of_range(std::string(name));
}

class PopupMenusTest : public ::testing::Test {
 protected:
  void Choose(const std::vector<MenuItemData>& items, std::string_view name) { Find(items, name).command(); }

  MainWindowHarness h;
  MainWindow& w = h.window;
  testing::FakeDialogWindow dialog_window{&h.log};
  testing::FakeFolderChooser chooser;
  testing::FakeProcessTable processes;
  testing::FakeProgramLauncher launcher;
  testing::FakeUriLauncher desktop{&h.log};
  SettingsDialog dialog{SettingsDialogPorts{dialog_window, h.prompt, chooser, processes, launcher, desktop},
                        w.ConfigPath, "http://127.0.0.1:9/"};
  int update_checks = 0;
  MainMenuPorts main_ports{w, dialog, desktop, "http://127.0.0.1:9/site/", [this] { ++update_checks; }};
  const std::vector<MenuItemData> player = PlayerMenuItems(w);
  const std::vector<MenuItemData> main = MainMenuItems(main_ports);
  const std::vector<MenuItemData> page = WebPageMenuItems(w);
};

TEST_F(PopupMenusTest, TheTreesAndAFreshStartsMarks) {
  EXPECT_EQ(Describe(page), "ht=后退 qj=前进 sx=刷新 sss=- fz=复制 zt=粘贴 zy=主页 ");
  EXPECT_EQ(
      Describe(main),
      "shezhi=软件设置 pifu=更换皮肤[green=黑色冷酷 blue=蓝色经典 ] about=关于我们 aa12=- guanf=官方主页 "
      "shengji=升级检测 qsoft=退出软件 ");
  EXPECT_EQ(
      Describe(player),
      "q_bo=播放/暂停(空格) q_stop=停止 q_quan=全屏 q_yin=静音 q_xx=- "
      "q_kuang=视频框架[q_la=拉伸以适合窗口 q_suo=缩放以适合窗口 q_43=4:3 q_54=5:4 q_169=16:9 ] "
      "q_shengdao=声道调节[q_shun=混合声道 q_szuo=左声道 q_syou=右声道 q_szuoq=左声道扩展至全部 "
      "q_syouq=右声道扩展至全部 ] q_yy=-(hidden) q_tiao=视频调节(hidden) q_yinpin=音频调节(hidden) "
      "q_yinxiao=音效均衡(hidden) qvod_zz=- q_wan=播放完后[kaiqi=自动关机 q_wu=无操作 ] q_jing=精简模式 ");
  EXPECT_EQ(Checked(w.menu, player), "q_suo q_shun q_wu ");
  EXPECT_EQ(Checked(w.menu, main) + Checked(w.menu, page), "");
  EXPECT_FALSE(CheckMark(w.menu, "q_bo").has_value());
}

TEST_F(PopupMenusTest, PictureFitMovesTheOneMarkAndTellsThePlayer) {
  Choose(player, "q_43");
  Choose(player, "q_la");
  EXPECT_EQ(h.log.entries, (Log{"player.SetPictureFit(2)", "player.SetPictureFit(0)"}));
  EXPECT_EQ(Checked(w.menu, player), "q_la q_shun q_wu ");
  Choose(player, "q_169");
  EXPECT_EQ(h.player.picture_fit, PictureFit::kSixteenNine);
}

TEST_F(PopupMenusTest, TheFiveChannelsAreOneRadioGroupAndThreeIsNeverSent) {
  const std::vector<std::pair<std::string, int>> channels{{"q_syou", 2},  {"q_szuo", 1}, {"q_szuoq", 4},
                                                          {"q_syouq", 5}, {"q_syou", 2}, {"q_shun", 0}};
  for (const auto& [name, value] : channels) {
    Choose(player, name);
    EXPECT_EQ(static_cast<int>(h.player.sound_channel), value) << name;
    EXPECT_EQ(Checked(w.menu, Find(player, "q_shengdao").submenu), name + " ");
  }
  for (const std::string& entry : h.log.entries) EXPECT_NE(entry, "player.SetSoundChannel(3)");
}

TEST_F(PopupMenusTest, AfterPlaybackSetsTheShutdownFlagTheEndOfPlayReads) {
  Choose(player, "kaiqi");
  EXPECT_TRUE(w.menu.kaiqi);
  EXPECT_EQ(Checked(w.menu, Find(player, "q_wan").submenu), "kaiqi ");
  Choose(player, "q_wu");
  EXPECT_FALSE(w.menu.kaiqi);
  EXPECT_TRUE(h.log.entries.empty());
}

TEST_F(PopupMenusTest, PlayerItemsPressControlBarButtonsAndTheMuteCaptionIsLive) {
  for (const char* name : {"q_bo", "q_stop", "q_quan", "q_yin"}) Choose(player, name);
  EXPECT_EQ(h.control_bar.clicks, (std::vector<int>{0, 1, 3, 2}));
  w.menu.q_yin = kUnmuteCaption;
  EXPECT_EQ(LiveCaption(w.menu, Find(player, "q_yin")), "取消静音");
  EXPECT_EQ(LiveCaption(w.menu, Find(player, "q_stop")), "停止");
}

TEST_F(PopupMenusTest, TheMiniModeItemTwiceReturnsToTheNormalWindow) {
  for (RegionId region : {RegionId::zz, RegionId::tv, RegionId::ying}) w.model[region].visible = false;
  SelectMainTab(w, MainTab::kCatalogue, true);
  Choose(player, "q_jing");  // nothing playing: no mini mode, and the caption does not pretend
  EXPECT_EQ(w.model.mini_mode, MiniMode::kOff);
  EXPECT_EQ(w.menu.q_jing, "精简模式");

  w.model.ContentMode = ContentMode::kPlayer;
  Choose(player, "q_jing");
  EXPECT_EQ(w.model.mini_mode, MiniMode::kPlayer);
  EXPECT_EQ(LiveCaption(w.menu, Find(player, "q_jing")), "退出精简");
  Choose(player, "q_jing");
  EXPECT_EQ(w.model.mini_mode, MiniMode::kOff);
  EXPECT_EQ(w.menu.q_jing, "精简模式");
  EXPECT_NE(w.model.width_twips, 5900);
}

TEST_F(PopupMenusTest, ThePageMenuActsOnTheCatalogueView) {
  for (const char* name : {"ht", "qj", "sx", "zy"}) Choose(page, name);
  EXPECT_EQ(h.log.entries,
            (Log{"Web1.GoBack", "Web1.GoForward", "Web1.Refresh", "Web1.Navigate(http://127.0.0.1:8080/)"}));
  Choose(page, "fz");
  Choose(page, "zt");
  EXPECT_EQ(h.web[1].edits, (std::vector<EditCommand>{EditCommand::kCopy, EditCommand::kPaste}));
  CatalogueContextMenu(w, {"", 40, 50});
  ASSERT_EQ(h.menus.popups.size(), 1U);
  EXPECT_EQ(h.menus.popups[0].menu, PopupMenu::myMenu);
  EXPECT_EQ(h.menus.popups[0].x, 40);
}

TEST_F(PopupMenusTest, MainMenuSkinsSiteUpdateAndQuit) {
  Choose(main, "blue");
  EXPECT_EQ(h.Setting("Skin", "Num"), "1");
  Choose(main, "green");
  EXPECT_EQ(h.Setting("Skin", "Num"), "0");
  Choose(main, "guanf");
  EXPECT_EQ(desktop.opened, (std::vector<std::string>{"http://127.0.0.1:9/site/"}));
  Choose(main, "shengji");
  EXPECT_EQ(update_checks, 1);
  Choose(main, "qsoft");
  EXPECT_EQ(h.quit_count, 1);
}

TEST_F(PopupMenusTest, AboutBringsAMinimisedWindowFromTheTrayAndOpensTheAboutPage) {
  SetWindowShown(w, false);
  SetWindowState(w, WindowState::kMinimised);
  h.log.entries.clear();
  Choose(main, "about");
  EXPECT_EQ(h.log.entries,
            (Log{"host.SetVisible(true)", "host.SetState(normal)", "dialog.Show", "dialog.Focus"}));
  EXPECT_TRUE(w.model.shown);
  EXPECT_EQ(w.model.state, WindowState::kNormal);
  EXPECT_EQ(dialog.model().page, SettingsPage::kAbout);

  // Opening again keeps the open dialog's page.
  Choose(main, "shezhi");
  EXPECT_EQ(dialog.model().page, SettingsPage::kAbout);
}

TEST_F(PopupMenusTest, ATopmostWindowStaysTopmostWithTheDialogInFront) {
  ClickTitleBarButton(w, 4);
  ASSERT_TRUE(w.model.topmost);
  h.log.entries.clear();
  Choose(main, "shezhi");
  EXPECT_EQ(h.log.entries,
            (Log{"host.SetTopmost(false)", "dialog.Show", "host.SetTopmost(true)", "dialog.Focus"}));
  EXPECT_TRUE(w.model.topmost);
  EXPECT_EQ(dialog.model().page, SettingsPage::kOptions);
}

TEST_F(PopupMenusTest, ThePlayerMenuNeedsAMediaAddress) {
  PlayerAreaRightPress(w);
  EXPECT_TRUE(h.menus.popups.empty());
  h.player.url = "http://127.0.0.1:9/a.mp4";
  PlayerAreaRightPress(w);
  ASSERT_EQ(h.menus.popups.size(), 1U);
  EXPECT_EQ(h.menus.popups[0].menu, PopupMenu::qvod_m);
}

}  // namespace
}  // namespace taviro
