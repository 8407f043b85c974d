#include "window/bo_but_buttons.h"
#include "window/layout_support.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro {

using layout::Half;
using layout::Move;
using layout::Place;
using layout::RectOf;
using R = RegionId;

namespace {

constexpr int kAdvertGap = 30;
constexpr int kButtonSize = 25;
constexpr int kButtonTop = 11;

// Video on top, status strip above the seek bar at the bottom; the advert
// cover lies exactly over the video.
void PlaceVideoStack(WindowModel& model) {
  const Rect play_page = RectOf(model, R::Pic2);
  Place(model, R::qvod, 0, 0, play_page.width, play_page.height);
  const Rect area = RectOf(model, R::qvod);
  const int seek_height = RectOf(model, R::gunt).height;
  Place(model, R::gunt, 0, area.height - seek_height, area.width, seek_height);
  const int strip_height = RectOf(model, R::bo_zt).height;
  Place(model, R::bo_zt, 0, RectOf(model, R::gunt).top - strip_height, area.width, strip_height);
  Place(model, R::Qvodx, 0, 0, area.width, RectOf(model, R::bo_zt).top);
  const Rect video = RectOf(model, R::Qvodx);
  Place(model, R::QvodC, 0, 0, video.width, video.height);
  Place(model, R::Lqvod, 0, 0, video.width, video.height);
  Place(model, R::bo_ad, 0, 0, video.width, video.height);
}

void PlaceAdvertCover(WindowModel& model) {
  const Rect cover = RectOf(model, R::bo_ad);
  const Rect picture_size = RectOf(model, R::adp);
  Move(model, R::adp, Half(cover.width - picture_size.width),
       Half(cover.height - picture_size.height - kAdvertGap));
  const Rect picture = RectOf(model, R::adp);
  Place(model, R::bo_pad, Half(cover.width - RectOf(model, R::bo_pad).width), picture.bottom() + kAdvertGap,
        468, 60);
  model[R::Web8].rect = FillWithBorderClipped(RectOf(model, R::bo_pad));
  Place(model, R::ad_huan, Half(cover.width - 450), Half(cover.height - 260), 450, 260);
  model[R::Web7].rect = FillWithBorderClipped(RectOf(model, R::ad_huan));
  Move(model, R::next_s, picture.left, picture.bottom() + 10);
}

void PlaceStatusStrip(WindowModel& model, const LayoutEnv& env) {
  RegionState& status = model[R::zhun];
  if (model.mini_mode != MiniMode::kOff) {
    // The narrow mini window keeps the state text from running into the title.
    status.auto_size = false;
    status.rect.left = 13;
    status.rect.top = 3;
    status.rect.width = 120;
  } else {
    status.auto_size = true;
    Move(model, R::zhun, 13, 3);
    FitAutoSizeLabel(model, R::zhun, env.text);
  }
  const Rect area = RectOf(model, R::qvod);
  Move(model, R::times, area.width - RectOf(model, R::times).width - 13, 3);
  FitAutoSizeLabel(model, R::bo_name, env.text);
  Move(model, R::bo_name, Half(RectOf(model, R::bo_zt).width - RectOf(model, R::bo_name).width), 3);
  Move(model, R::huan, 0, 0);
}

void PlaceControlBar(WindowModel& model, const LayoutEnv& env) {
  Place(model, BoBut(bo_but::kPlayPause), 20, 0, 58, 43);
  struct Step {
    RegionId id;
    int gap;  // from the left of the previous one
  };
  const Step from_left[] = {{BoBut(bo_but::kStop), 65},
                            {BoBut(bo_but::kPrevious), 29},
                            {BoBut(bo_but::kNext), 29},
                            {BoBut(bo_but::kMute), 30}};
  int left = RectOf(model, BoBut(bo_but::kPlayPause)).left;
  for (const Step& step : from_left) {
    left += step.gap;
    Place(model, step.id, left, kButtonTop, kButtonSize, kButtonSize);
  }
  Place(model, R::yin, left + 26, kButtonTop, 80, 24);

  left = model.ClientWidth() - 47;
  Place(model, BoBut(bo_but::kSidePanel), left, kButtonTop, kButtonSize, kButtonSize);
  for (int index : {3, 4}) {
    left -= 26;
    Place(model, BoBut(index), left, kButtonTop, kButtonSize, kButtonSize);
  }
  Move(model, R::La_0, 470, 18);

  const int travel = RectOf(model, R::yin).width - RectOf(model, R::bo_v).width;
  Move(model, R::bo_v, travel * env.volume_percent / 100, 6);
  Place(model, R::bo_y, 0, 11, RectOf(model, R::bo_v).left, 2);
}

}  // namespace

void LayoutPlayerArea(WindowModel& model, const LayoutEnv& env) {
  if (model.state == WindowState::kMinimised) {
    return;
  }
  PlaceVideoStack(model);
  PlaceAdvertCover(model);
  PlaceStatusStrip(model, env);
  PlaceControlBar(model, env);
}

}  // namespace taviro
