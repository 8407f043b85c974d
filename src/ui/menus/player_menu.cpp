#include "ui/menus/player_menu.h"

#include <array>

#include "ports/menu_presenter.h"
#include "ports/player_control.h"
#include "util/translate.h"
#include "window/bo_but_buttons.h"
#include "window/main_window.h"
#include "window/mini_mode.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

// Control-bar buttons the menu presses, as the bar's own clicks do.

template <typename Choice>
struct RadioItem {
  std::string_view name;
  std::string_view caption;
  Choice choice;
};

constexpr std::array<RadioItem<PictureFit>, 5> kFitItems{{
    {"q_la", N_("拉伸以适合窗口"), PictureFit::kStretch},
    {"q_suo", N_("缩放以适合窗口"), PictureFit::kScale},
    {"q_43", "4:3", PictureFit::kFourThree},
    {"q_54", "5:4", PictureFit::kFiveFour},
    {"q_169", "16:9", PictureFit::kSixteenNine},
}};

// All five channel items form one radio group, the right channel included:
// exactly one of them is checked, the one last chosen.
constexpr std::array<RadioItem<SoundChannel>, 5> kChannelItems{{
    {"q_shun", N_("混合声道"), SoundChannel::kMixed},
    {"q_szuo", N_("左声道"), SoundChannel::kLeft},
    {"q_syou", N_("右声道"), SoundChannel::kRight},
    {"q_szuoq", N_("左声道扩展至全部"), SoundChannel::kLeftOnBoth},
    {"q_syouq", N_("右声道扩展至全部"), SoundChannel::kRightOnBoth},
}};

constexpr std::array<RadioItem<bool>, 2> kAfterPlaybackItems{{
    {"kaiqi", N_("自动关机"), true},
    {"q_wu", N_("无操作"), false},
}};

template <typename Choice, std::size_t N, typename Choose>
std::vector<MenuItemData> RadioSubmenu(const std::array<RadioItem<Choice>, N>& items, Choose choose) {
  std::vector<MenuItemData> submenu;
  submenu.reserve(N);
  for (const RadioItem<Choice>& item : items) {
    submenu.push_back({item.name, item.caption, [choose, choice = item.choice] { choose(choice); }});
  }
  return submenu;
}

template <typename Choice, std::size_t N>
std::optional<bool> MarkIn(const std::array<RadioItem<Choice>, N>& items, std::string_view name,
                           Choice current) {
  for (const RadioItem<Choice>& item : items) {
    if (item.name == name) return item.choice == current;
  }
  return std::nullopt;
}

}  // namespace

void PlayerAreaRightPress(MainWindow& window) {
  if (!window.ports.player.Url().empty()) window.ports.menus.PopupAtPointer(PopupMenu::qvod_m);
}

void ChoosePictureFit(MainWindow& window, PictureFit fit) {
  window.ports.player.SetPictureFit(fit);
  window.menu.picture_fit = fit;
}

void ChooseSoundChannel(MainWindow& window, SoundChannel channel) {
  window.ports.player.SetSoundChannel(channel);
  window.menu.sound_channel = channel;
}

void ChooseAfterPlayback(MainWindow& window, bool shut_down) { window.menu.kaiqi = shut_down; }

void MiniModeItemClick(MainWindow& window) {
  if (window.menu.q_jing == kMiniModeCaption) {
    window.menu.q_jing = kLeaveMiniModeCaption;
    EnterMiniMode(window);
    // With nothing playing there is no mini mode to leave: the caption must
    // not offer it.
    if (window.model.mini_mode == MiniMode::kOff) window.menu.q_jing = kMiniModeCaption;
  } else {
    window.menu.q_jing = kMiniModeCaption;
    JbiClick(window);
  }
}

std::vector<MenuItemData> PlayerMenuItems(MainWindow& window) {
  MainWindow* w = &window;
  return {
      {"q_bo", N_("播放/暂停(空格)"), [w] { w->ClickControlBar(bo_but::kPlayPause); }},
      {"q_stop", N_("停止"), [w] { w->ClickControlBar(bo_but::kStop); }},
      {"q_quan", N_("全屏"), [w] { w->ClickControlBar(bo_but::kFullScreen); }},
      {"q_yin", kMuteCaption, [w] { w->ClickControlBar(bo_but::kMute); }},
      {"q_xx", "-", nullptr},
      {"q_kuang", N_("视频框架"), nullptr,
       RadioSubmenu(kFitItems, [w](PictureFit fit) { ChoosePictureFit(*w, fit); })},
      {"q_shengdao", N_("声道调节"), nullptr,
       RadioSubmenu(kChannelItems, [w](SoundChannel channel) { ChooseSoundChannel(*w, channel); })},
      {"q_yy", "-", nullptr, {}, true},
      {"q_tiao", N_("视频调节"), nullptr, {}, true},
      {"q_yinpin", N_("音频调节"), nullptr, {}, true},
      {"q_yinxiao", N_("音效均衡"), nullptr, {}, true},
      {"qvod_zz", "-", nullptr},
      {"q_wan", N_("播放完后"), nullptr,
       RadioSubmenu(kAfterPlaybackItems, [w](bool shut_down) { ChooseAfterPlayback(*w, shut_down); })},
      {"q_jing", kMiniModeCaption, [w] { MiniModeItemClick(*w); }},
  };
}

std::optional<bool> CheckMark(const MenuModel& menu, std::string_view name) {
  if (auto mark = MarkIn(kFitItems, name, menu.picture_fit)) return mark;
  if (auto mark = MarkIn(kChannelItems, name, menu.sound_channel)) return mark;
  return MarkIn(kAfterPlaybackItems, name, menu.kaiqi);
}

std::string_view LiveCaption(const MenuModel& menu, const MenuItemData& item) {
  if (item.name == "q_jing") return menu.q_jing;
  if (item.name == "q_yin") return menu.q_yin;
  return item.caption;
}

}  // namespace taviro
