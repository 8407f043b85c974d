#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ports/window_host.h"
#include "window/content_mode.h"
#include "window/npc_buttons.h"
#include "window/region_id.h"

namespace taviro {

inline constexpr int kTwipsPerPixel = 15;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

// Tile slots from this number on name pictures that are not skin slots:
// kExtraPictureBase + 0 the logo of skin 0, + 1 the logo of the other skins,
// + 2 the loading animation strip, + 3 the error picture.
inline constexpr int kExtraPictureBase = 100;

// A rectangle of one of the skin pictures (`ppt` slot), drawn 1:1 into the
// region, or stretched over it when `stretched`.
struct Tile {
  int slot = -1;  // -1: nothing drawn
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool stretched = false;
  bool operator==(const Tile&) const = default;
};

// Colours as the window's controls keep them: 0xBBGGRR.
using Colour = std::uint32_t;

// What the window shows for one region. Toggle buttons keep their state in
// their tooltip text, as the rules compare against those texts.
struct RegionState {
  Rect rect;  // pixels, relative to the parent region
  bool visible = true;
  bool enabled = true;
  std::string tooltip;
  std::string caption;
  Colour fore_colour = 0;
  bool auto_size = false;
  bool word_wrap = false;
  Tile face;
  bool operator==(const RegionState&) const = default;
};

// Bounds of the window's outer size in pixels, set once at start-up from
// the work area. A maximum of 0 sets no bound.
struct SizeLimits {
  int min_width = 0;
  int min_height = 0;
  int max_width = 0;
  int max_height = 0;
  bool operator==(const SizeLimits&) const = default;
};

// The small window of mini mode, taken from the player page or the TV page.
enum class MiniMode { kOff, kPlayer, kTv };

// An advertisement panel: off until the switch file enables it; a panel
// whose page failed stays off.
enum class AdPanel { kOff, kFailed, kEnabled };

// The main window's state, owned by the core and mirrored by the toolkit
// layer: every rule reads and writes this, never a widget.
struct WindowModel {
  std::array<RegionState, kRegionCount> regions{};

  // Outer size and position in twips, the unit the settings store them in.
  int width_twips = 14850;
  int height_twips = 9830;
  int left_twips = 0;
  int top_twips = 0;
  WindowState state = WindowState::kNormal;
  bool shown = false;
  SizeLimits size_limits;

  taviro::MiniMode mini_mode = MiniMode::kOff;
  MainTab main_tab = MainTab::kCatalogue;
  SideTab side_tab = SideTab::kTasks;
  // A press with another button than the left one: the click or double
  // click that follows does nothing.
  bool ignore_next_click = false;
  // What the two-faced buttons show (window/chrome_state.h).
  bool topmost = false;
  bool playing = false;
  bool muted = false;
  bool side_panel_shown = true;
  bool tv_side_panel_shown = true;
  taviro::ContentMode ContentMode = ContentMode::kNothingShown;
  bool laid_out = false;
  bool catalogue_failed = false;  // a service page failed in the catalogue view
  AdPanel pause_panel = AdPanel::kOff;
  AdPanel banner_panel = AdPanel::kOff;  // the player's advertisement banner

  // Edge-resize tracking of the window body: a resize was handed to the
  // system, and whether the last pointer move was off the 3-pixel band.
  bool EdgeResizeActive = false;
  bool PointerInBody = false;

  RegionState& operator[](RegionId id) { return regions[static_cast<std::size_t>(id)]; }
  const RegionState& operator[](RegionId id) const { return regions[static_cast<std::size_t>(id)]; }

  int ClientWidth() const { return width_twips / kTwipsPerPixel; }
  int ClientHeight() const { return height_twips / kTwipsPerPixel; }
};

}  // namespace taviro
