#include "ui/control_description.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "playback/control_bar.h"
#include "playback/list_commands.h"
#include "support/control_bar_harness.h"
#include "support/fake_uri_launcher.h"
#include "ui/window_events.h"
#include "window/bo_but_buttons.h"
#include "window/chrome_state.h"
#include "window/npc_buttons.h"
#include "window/tab_selection.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

struct Seen {
  ControlRole role;
  std::string name;
  bool on;
  bool operator==(const Seen&) const = default;
};

Seen SeenOf(const WindowModel& model, RegionId id) {
  const ControlDescription d = DescribeControl(model, id, {});
  return {d.role, d.name, d.on};
}

// Names and pressed states come from where the window's rules keep them, so
// they change when the rules run.
TEST(ControlDescription, NamesAndStatesFollowTheRules) {
  testing::MainWindowHarness h;
  WindowModel& m = h.window.model;
  using enum ControlRole;

  EXPECT_EQ(SeenOf(m, Npc(npc::kMaximise)), (Seen{kPushButton, "最大化", false}));
  ClickTitleBarButton(h.window, npc::kMaximise);
  EXPECT_EQ(SeenOf(m, Npc(npc::kMaximise)), (Seen{kPushButton, "还原", false}));
  ClickTitleBarButton(h.window, npc::kTopmost);
  EXPECT_EQ(SeenOf(m, Npc(npc::kTopmost)), (Seen{kPushButton, "取消置顶", false}));

  SelectMainTab(h.window, MainTab::kPlayer, false);
  EXPECT_EQ(SeenOf(m, Npc(npc::kPlayerTab)), (Seen{kPageTab, "正在播放", true}));
  EXPECT_EQ(SeenOf(m, Npc(npc::kCatalogueTab)), (Seen{kPageTab, "影视库", false}));
  EXPECT_EQ(SeenOf(m, Npc(npc::kTaskListTab)), (Seen{kPageTab, "网络任务", true}));
  EXPECT_EQ(SeenOf(m, BoBut(bo_but::kSidePanel)), (Seen{kToggleButton, "播放列表", true}));
  ClickTitleBarButton(h.window, npc::kSidePanelHandle);
  EXPECT_EQ(SeenOf(m, Npc(npc::kSidePanelHandle)), (Seen{kPushButton, "显示侧栏", false}));
  EXPECT_EQ(SeenOf(m, BoBut(bo_but::kSidePanel)), (Seen{kToggleButton, "播放列表", false}));

  SetPlayingShown(m, true);
  SetMutedShown(m, true);
  EXPECT_EQ(SeenOf(m, BoBut(bo_but::kPlayPause)), (Seen{kPushButton, "暂停", false}));
  EXPECT_EQ(SeenOf(m, BoBut(bo_but::kMute)), (Seen{kPushButton, "取消静音", false}));
  EXPECT_EQ(SeenOf(m, BoBut(bo_but::kStop)), (Seen{kPushButton, "停止", false}));
  EXPECT_EQ(SeenOf(m, R::jbi), (Seen{kPushButton, "退出精简", false}));
  EXPECT_EQ(SeenOf(m, R::qk), (Seen{kPushButton, "管理任务", false}));
  SelectSideTab(h.window, SideTab::kLocalFiles, false);
  EXPECT_EQ(SeenOf(m, R::qk), (Seen{kPushButton, "清空列表", false}));

  // The side panel's header strip and the pictures are no controls.
  EXPECT_EQ(SeenOf(m, Npc(npc::kSidePanelHeader)), (Seen{kNone, "", false}));
  EXPECT_EQ(SeenOf(m, R::adp), (Seen{kNone, "", false}));
}

TEST(ControlDescription, SlidersHoldTheirValueWithinTheirRange) {
  const WindowModel m;
  const ControlDescription seek = DescribeControl(m, R::gunt, {.position = 65, .duration = 1200});
  EXPECT_EQ(seek, (ControlDescription{ControlRole::kSlider, "播放进度", false, 65, 1200, "01:05 / 20:00"}));
  EXPECT_EQ(DescribeControl(m, R::gunt, {.position = 1300, .duration = 1200}).value, 1200);
  EXPECT_EQ(DescribeControl(m, R::gunt, {.position = 5, .duration = -1}).maximum, 0);
  const ControlDescription volume = DescribeControl(m, R::yin, {.volume = 130});
  EXPECT_EQ(volume, (ControlDescription{ControlRole::kSlider, "音量", false, 100, 100, "100%"}));
}

TEST(ControlDescription, ReadingOrderHoldsEveryControlOnceFromTitleBarToSidePanel) {
  const auto order = ReadingOrder();
  for (int i = 0; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    const auto count = std::count(order.begin(), order.end(), id);
    EXPECT_EQ(count,
              RoleOf(id) != ControlRole::kNone || (HostsAView(id) && id != R::QvodC && id != R::Web6) ? 1 : 0)
        << RegionName(id);
  }
  auto at = [&](RegionId id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
  EXPECT_LT(at(Npc(npc::kClose)), at(Npc(npc::kCatalogueTab)));
  EXPECT_LT(at(Npc(npc::kHighlightsTab)), at(BoBut(bo_but::kPlayPause)));
  EXPECT_LT(at(BoBut(bo_but::kPlayPause)), at(R::yin));
  EXPECT_LT(at(R::yin), at(BoBut(bo_but::kFullScreen)));
  EXPECT_LT(at(BoBut(bo_but::kSidePanel)), at(Npc(npc::kEpisodeListTab)));
}

// The keyboard presses a control as a left click does, and moves the bars
// by the arrow keys' steps.
TEST(ControlDescription, KeyboardPressesControlsAndStepsSliders) {
  testing::ControlBarHarness t;
  testing::FakeUriLauncher desktop;
  ListCommands lists{t.context, desktop};
  WindowEvents events{t.window};
  events.AttachPlayback(t.context, t.bar, lists);
  WindowModel& m = t.model;
  m.ContentMode = ContentMode::kPlayer;
  t.LoadItemWithBars();
  t.player.position = 700;

  m.ignore_next_click = true;  // left by a right press: a key press is a left one
  events.Activate(Npc(npc::kTopmost));
  EXPECT_EQ(m[Npc(npc::kTopmost)].tooltip, "取消置顶");
  t.h.log.entries.clear();
  events.Activate(R::gunt);
  EXPECT_TRUE(t.h.log.entries.empty());

  events.SliderStep(R::gunt, false);
  EXPECT_EQ(t.player.position, 690);

  t.player.volume = 95;
  t.player.muted = true;
  SetMutedShown(m, true);
  events.SliderStep(R::yin, true);
  EXPECT_EQ(t.player.volume, 100);
  EXPECT_FALSE(t.player.muted);
  EXPECT_EQ(m[R::bo_v].rect.left, 70);
  events.SliderStep(R::yin, false);
  EXPECT_EQ(t.player.volume, 90);
  EXPECT_EQ(events.Describe(R::yin).value, 90);
  EXPECT_EQ(events.Describe(R::gunt).value, 690);
}

}  // namespace
}  // namespace taviro
