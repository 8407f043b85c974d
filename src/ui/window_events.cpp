#include "ui/window_events.h"

#include <optional>

#include "playback/control_bar.h"
#include "playback/list_commands.h"
#include "playback/player_keys.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "ports/player_control.h"
#include "ui/menus/player_menu.h"
#include "window/bo_but_buttons.h"
#include "window/button_hover.h"
#include "window/catalogue_events.h"
#include "window/content_mode.h"
#include "window/main_window.h"
#include "window/mini_mode.h"
#include "window/saved_window_size.h"
#include "window/title_bar_commands.h"
#include "window/window_state.h"

namespace taviro {
namespace {

using R = RegionId;

std::optional<int> IndexIn(RegionId region, RegionId first, int count) {
  const int index = static_cast<int>(region) - static_cast<int>(first);
  if (index >= 0 && index < count) {
    return index;
  }
  return std::nullopt;
}

std::optional<int> NpcIndex(RegionId region) { return IndexIn(region, R::npc_0, 16); }
std::optional<int> BoButIndex(RegionId region) { return IndexIn(region, R::bo_but_0, 8); }

}  // namespace

// The seek and volume bars take the pointer's x in pixels, except the parts
// whose rules measure it in twips.
bool WindowEvents::PlaybackPress(RegionId region, MouseButton button, int x) {
  if (control_bar_ == nullptr) {
    return false;
  }
  if (const auto index = BoButIndex(region)) {
    control_bar_->MouseDown(*index, button);
  } else if (region == R::gunt || region == R::gunt2 || region == R::huan) {
    SeekBarPressed(window_, region, button, region == R::gunt ? x : x * kTwipsPerPixel);
  } else if (region == R::yin || region == R::bo_y) {
    VolumeBarPressed(window_, region, button, region == R::yin ? x : x * kTwipsPerPixel);
  } else {
    return false;
  }
  return true;
}

void WindowEvents::PlaybackPointerMove(RegionId region, int x, bool left_down) {
  if (region == R::gunt1) {
    SeekThumbDragged(window_, x, left_down);
  } else if (region == R::bo_v) {
    VolumeKnobDragged(window_, x, left_down);
  }
}

bool WindowEvents::Press(RegionId region, MouseButton button, int x, int y) {
  if (button == MouseButton::kRight && (region == R::Lqvod || region == R::adp || region == R::bo_ad)) {
    PlayerAreaRightPress(window_);
  } else if (const auto npc = NpcIndex(region)) {
    TitleBarButtonDown(window_, button);
  } else if (PlaybackPress(region, button, x)) {
    // handled by the control bar or a bar
  } else if (region == R::Window) {
    BodyButtonPressed(window_.model, window_.ports.host, button, x, y);
    return window_.model.EdgeResizeActive;
  }
  return false;
}

void WindowEvents::Release(RegionId region, int x, int y) {
  if (region == R::Window) {
    BodyButtonReleased(window_.model, window_.ports.host, x, y);
  } else if (control_bar_ != nullptr &&
             (region == R::gunt || region == R::gunt1 || region == R::gunt2 || region == R::huan)) {
    SeekBarReleased(window_, region);
  }
}

void WindowEvents::Click(RegionId region) {
  if (const auto npc = NpcIndex(region)) {
    ClickTitleBarButton(window_, *npc);
  } else if (const auto button = BoButIndex(region)) {
    ClickControlButton(*button);
  } else if (region == R::jbi) {
    JbiClick(window_);
  } else if (region == R::ggx) {
    GgxClick(window_);
  } else if (region == R::gtv) {
    GtvClick(window_);
  } else if (region == R::jia) {
    RetryCatalogue(window_);
  } else if (region == R::qk && list_commands_ != nullptr) {
    list_commands_->QkClick();
  }
}

void WindowEvents::DoubleClick(RegionId region) {
  if (region == R::Window) {
    WindowDoubleClick(window_);
  } else if (region == R::Lqvod) {
    ClickControlButton(bo_but::kFullScreen);
  }
}

// Only the pointer's clicks meet the guard a press with another button than
// the left one leaves: what code presses (a content switch's stop, a menu, a
// key) must never be the click it swallows.
void WindowEvents::ClickControlButton(int index) {
  WindowModel& model = window_.model;
  if (model.ignore_next_click) {
    model.ignore_next_click = false;
    model[R::P1].visible = false;
    return;
  }
  window_.ClickControlBar(index);
}

void WindowEvents::PointerMove(RegionId region, int x, int y, bool left_down) {
  const ChromeEnv chrome{window_.ports.host, window_.ports.text};
  if (const auto npc = NpcIndex(region)) {
    TitleButtonPointerMoved(window_.model, chrome, *npc, x, y);
  } else if (const auto button = BoButIndex(region)) {
    ControlButtonPointerMoved(window_.model, chrome, *button, x, y);
  } else if (region == R::Window) {
    window_.ClearNewsHover();
    BodyPointerMoved(window_.model, window_.ports.host, x, y, left_down);
  } else {
    RegionPointerMoved(window_.model, window_.ports.host, region);
    if (control_bar_ != nullptr) {
      PlaybackPointerMove(region, x, left_down);
    }
  }
}

void WindowEvents::PointerLeave(RegionId region) {
  const ChromeEnv chrome{window_.ports.host, window_.ports.text};
  if (const auto npc = NpcIndex(region)) {
    TitleButtonPointerLeft(window_.model, chrome, *npc);
  } else if (const auto button = BoButIndex(region)) {
    ControlButtonPointerLeft(window_.model, chrome, *button);
  }
}

void WindowEvents::Resized(int width, int height) { OnWindowResized(window_, width, height); }

void WindowEvents::StateChanged(WindowState state) { OnWindowStateChanged(window_, state); }

// Closing from the window system is the title bar's close command, which no
// click guard stands in front of.
void WindowEvents::CloseRequest() { CloseWindow(window_); }

void WindowEvents::KeyPress(KeyCode key) {
  if (playback_ != nullptr) PlayerKeyDown(*playback_, key);
}

void WindowEvents::Activate(RegionId region) {
  const ControlRole role = RoleOf(region);
  if (role == ControlRole::kNone || role == ControlRole::kSlider) {
    return;
  }
  // A left press first, which clears what a press with another button left.
  Press(region, MouseButton::kLeft, 0, 0);
  Click(region);
}

void WindowEvents::SliderStep(RegionId region, bool up) {
  if (playback_ == nullptr) {
    return;
  }
  if (region == R::gunt) {
    PlayerKeyDown(*playback_, up ? KeyCode::kRight : KeyCode::kLeft);
  } else if (region == R::yin) {
    StepVolume(window_, up ? kVolumeKeyStep : -kVolumeKeyStep);
  }
}

void WindowEvents::SetSliderValue(RegionId region, int value) {
  if (playback_ == nullptr) {
    return;
  }
  if (region == R::gunt) {
    SeekBarSetTo(window_, value);
  } else if (region == R::yin) {
    SetVolumeTo(window_, value);
  }
}

ControlDescription WindowEvents::Describe(RegionId region) const {
  SliderReadings readings;
  if (RoleOf(region) == ControlRole::kSlider) {
    PlayerControl& player = window_.ports.player;
    readings = {player.Position(), player.Duration(), player.Volume()};
  }
  return DescribeControl(window_.model, region, readings);
}

void WindowEvents::ResizeDragEnded() { EdgeResizeEnded(window_.model, window_.ConfigPath); }

}  // namespace taviro
