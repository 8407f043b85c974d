#include "window/window_layout.h"

#include "window/layout_support.h"
#include "window/npc_buttons.h"
#include "window/window_design.h"

namespace taviro {

using layout::Move;
using layout::Place;
using layout::RectOf;
using R = RegionId;

namespace {

constexpr int kMinNormalWidthTwips = 13500;
constexpr int kMinNormalHeightTwips = 7000;
constexpr int kControlBarHeight = 43;
constexpr int kTitleButtonSize = 24;
constexpr int kTabWidth = 100;
constexpr int kTabHeight = 37;

void PlaceWebView(WindowModel& model, RegionId web, RegionId container) {
  model[web].rect = FillWithBorderClipped(RectOf(model, container));
}

// Right-aligned from the close button, with a wider gap before the menu.
void PlaceTitleButtons(WindowModel& model, int client_width) {
  struct Step {
    int index;
    int gap;  // how far left of the previous button
  };
  constexpr Step kSteps[] = {{1, 24}, {0, 24}, {5, 28}, {3, 24}, {4, 24}};
  Place(model, Npc(npc::kClose), client_width - 32, 4, kTitleButtonSize, kTitleButtonSize);
  int left = RectOf(model, Npc(npc::kClose)).left;
  for (const Step& step : kSteps) {
    left -= step.gap;
    Place(model, Npc(step.index), left, 4, kTitleButtonSize, kTitleButtonSize);
  }
}

void PlaceMainTabs(WindowModel& model) {
  int left = 200;
  for (int index : {8, 9, 13, 14}) {
    Place(model, Npc(index), left, 0, kTabWidth, kTabHeight);
    left += kTabWidth;
  }
}

}  // namespace

Rect FillWithBorderClipped(const Rect& container) {
  return Rect{-2, -2, container.width + 4, container.height + 4};
}

RoundRegion ApplyRoundRegion(const WindowModel& model) {
  // The rounded rectangle's far corner lies one pixel beyond the window, as
  // the region excludes its right and bottom edges.
  return RoundRegion{model.width_twips / kTwipsPerPixel + 1, model.height_twips / kTwipsPerPixel + 1, 4, 4};
}

void LayoutWindow(WindowModel& model, const LayoutEnv& env) {
  if (model.state == WindowState::kMinimised) {
    return;
  }
  if (model.mini_mode != MiniMode::kOff) {
    LayoutMiniMode(model, env);
    return;
  }
  if (model.state != WindowState::kMaximised) {
    if (model.width_twips < kMinNormalWidthTwips) {
      model.width_twips = kMinNormalWidthTwips;
    }
    if (model.height_twips < kMinNormalHeightTwips) {
      model.height_twips = kMinNormalHeightTwips;
    }
  }
  PaintFrame(model, env);
  LayoutMainArea(model, env);
  LayoutSidePanel(model, env);
  LayoutTvSidePanel(model, env);
  Move(model, R::Imi, 10, 7);
  Move(model, R::ni_name, 40, 13);
  FitAutoSizeLabel(model, R::ni_name, env.text);
  LayoutPlayerArea(model, env);
}

void PaintFrame(WindowModel& model, const LayoutEnv& /*env*/) {
  // The frame pieces and the rounded outline follow from the client size
  // (FramePieces, ApplyRoundRegion); only the control bar is a region.
  const int width = model.ClientWidth();
  const int height = model.ClientHeight();
  Place(model, R::bo_foot, 2, height - 46, width - 4, kControlBarHeight);
  model[R::bo_foot].face = Tile{3, 0, 0, 1, kControlBarHeight, true};
}

void LayoutMainArea(WindowModel& model, const LayoutEnv& /*env*/) {
  const int width = model.ClientWidth();
  const int height = model.ClientHeight();
  PlaceTitleButtons(model, width);
  PlaceMainTabs(model);

  Place(model, R::zz, 2, 39, width - 4, height - 85);
  const Rect page = RectOf(model, R::zz);
  Place(model, R::zzp, 2, 39, page.width, page.height);
  Place(model, R::tv, 2, 39, page.width, page.height);
  const Rect catalogue = RectOf(model, R::zzp);
  Place(model, R::Pic1, 0, 0, catalogue.width, catalogue.height);
  Place(model, R::wait, 0, 0, catalogue.width, catalogue.height);
  const Rect cover = RectOf(model, R::wait);
  const Rect animation = RectOf(model, R::jia);
  Move(model, R::jia, layout::Half(cover.width - animation.width),
       layout::Half(catalogue.height - animation.height) - 20);
  PlaceWebView(model, R::Web1, R::Pic1);
  Place(model, R::ying, 2, 39, catalogue.width, catalogue.height);
  PlaceWebView(model, R::Web9, R::ying);
}

}  // namespace taviro
