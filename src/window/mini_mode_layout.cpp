#include "window/layout_support.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro {

using layout::Move;
using layout::Place;
using layout::RectOf;
using R = RegionId;

namespace {

constexpr int kMinMiniWidthTwips = 4100;
constexpr int kMinMiniHeightTwips = 3000;
constexpr int kTitleGap = 50;  // kept free before the exit glyph

// The mini title shows the playing item's name when there is one, and wraps
// rather than run under the exit glyph.
void PlaceMiniTitle(WindowModel& model, const LayoutEnv& env) {
  if (!model[R::bo_name].caption.empty()) {
    model[R::ni_name].caption = model[R::bo_name].caption;
  }
  FitAutoSizeLabel(model, R::ni_name, env.text);
  RegionState& title = model[R::ni_bo1];
  title.caption = model[R::ni_name].caption;
  const int room = RectOf(model, R::jbi).left - kTitleGap;
  if (room < RectOf(model, R::ni_name).width) {
    title.auto_size = false;
    title.word_wrap = true;
    // A negative width cannot be set; the title then keeps its old width.
    if (room >= 0) {
      title.rect.width = room;
    }
  } else {
    title.auto_size = true;
    title.word_wrap = false;
    FitAutoSizeLabel(model, R::ni_bo1, env.text);
  }
  Move(model, R::ni_bo1, 13, 5);
}

}  // namespace

void LayoutMiniMode(WindowModel& model, const LayoutEnv& env) {
  if (model.width_twips < kMinMiniWidthTwips) {
    model.width_twips = kMinMiniWidthTwips;
  }
  if (model.height_twips < kMinMiniHeightTwips) {
    model.height_twips = kMinMiniHeightTwips;
  }
  // The mini frame and the rounded outline follow from the client size.
  const int width = model.ClientWidth();
  const int height = model.ClientHeight();
  Move(model, R::jbi, width - RectOf(model, R::jbi).width - 10, 2);

  if (model.mini_mode == MiniMode::kPlayer) {
    PlaceMiniTitle(model, env);
    Place(model, R::zz, 2, 20, width - 4, height - 23);
    const Rect page = RectOf(model, R::zz);
    Place(model, R::L1, 0, 0, page.width, page.height);
    Place(model, R::Pic2, 0, 0, page.width, page.height);
    model[R::Web2].rect = FillWithBorderClipped(RectOf(model, R::Pic2));
    LayoutPlayerArea(model, env);
  } else if (model.mini_mode == MiniMode::kTv) {
    Place(model, R::tv, 2, 20, width - 4, height - 23);
    const Rect page = RectOf(model, R::tv);
    Place(model, R::tvleft, 0, 0, page.width, page.height);
    model[R::Web10].rect = FillWithBorderClipped(page);
  }
}

}  // namespace taviro
