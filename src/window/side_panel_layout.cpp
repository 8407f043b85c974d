#include "window/layout_support.h"
#include "window/npc_buttons.h"
#include "window/window_layout.h"

namespace taviro {

using layout::Move;
using layout::Place;
using layout::RectOf;
using R = RegionId;

namespace {

constexpr int kPanelWidth = 202;
constexpr int kHandleWidth = 3;
constexpr int kHandleHeight = 40;
constexpr int kFooterHeight = 20;
constexpr int kHandleSheet = 11;

struct SidePanelParts {
  RegionId page;    // zz or tv
  RegionId handle;  // npc(6) or npc(15)
  RegionId panel;   // the 202-wide list panel
  RegionId left;    // what the panel leaves of the page
};

// The handle sits on the panel's left edge while the panel is shown, and 4
// pixels from the page's right edge while it is hidden; the left part takes
// what the panel leaves.
void PlacePanelAndHandle(WindowModel& model, const SidePanelParts& parts) {
  const Rect page = RectOf(model, parts.page);
  Rect& handle = RectOf(model, parts.handle);
  handle.width = kHandleWidth;
  handle.height = kHandleHeight;
  Place(model, parts.panel, page.width - kPanelWidth, 0, kPanelWidth, page.height);
  const bool shown =
      parts.handle == Npc(npc::kTvSidePanelHandle) ? model.tv_side_panel_shown : model.side_panel_shown;
  handle.left = shown ? page.width - kPanelWidth : page.width - 4;
  const int left_width = shown ? handle.left : page.width;
  Place(model, parts.left, 0, 0, left_width, RectOf(model, parts.panel).height);
  model[parts.handle].face = Tile{kHandleSheet, shown ? 0 : kHandleWidth, 0, kHandleWidth, kHandleHeight};
  Place(model, parts.handle, handle.left, layout::Half(page.height - 43), kHandleWidth, kHandleHeight);
}

void PlacePanelTabs(WindowModel& model) {
  Place(model, Npc(npc::kSidePanelHeader), 0, 0, kPanelWidth, 28);
  Place(model, Npc(npc::kEpisodeListTab), 8, 4, 60, 21);
  Place(model, Npc(npc::kTaskListTab), 71, 4, 60, 21);
  Place(model, Npc(npc::kLocalFilesTab), 134, 4, 60, 21);
}

void PlaceLists(WindowModel& model) {
  const Rect panel = RectOf(model, R::l2);
  Place(model, R::shan, 0, panel.height - kFooterHeight, panel.width, kFooterHeight);
  Move(model, R::qk, RectOf(model, R::shan).width - 80, 6);

  const Rect header = RectOf(model, Npc(npc::kSidePanelHeader));
  Place(model, R::Pic3, 0, header.bottom(), panel.width,
        panel.height - header.height - RectOf(model, R::shan).height);
  const Rect list = RectOf(model, R::Pic3);
  Place(model, R::Pic4, 0, list.top, panel.width, list.height);
  Place(model, R::Pic5, 0, list.top, panel.width, list.height);
}

}  // namespace

void LayoutSidePanel(WindowModel& model, const LayoutEnv& /*env*/) {
  PlacePanelAndHandle(model, {R::zz, Npc(npc::kSidePanelHandle), R::l2, R::L1});
  PlacePanelTabs(model);

  const Rect left = RectOf(model, R::L1);
  Place(model, R::Pic2, 0, 0, left.width, left.height);
  const Rect play_page = RectOf(model, R::Pic2);
  Move(model, R::ggx, play_page.width - RectOf(model, R::ggx).width, 0);

  PlaceLists(model);

  model[R::Web2].rect = FillWithBorderClipped(play_page);
  model[R::Web3].rect = FillWithBorderClipped(RectOf(model, R::Pic3));
  // The three lists are the same size.
  model[R::Web4].rect = FillWithBorderClipped(RectOf(model, R::Pic5));
  model[R::Web5].rect = FillWithBorderClipped(RectOf(model, R::Pic5));
}

void LayoutTvSidePanel(WindowModel& model, const LayoutEnv& /*env*/) {
  PlacePanelAndHandle(model, {R::tv, Npc(npc::kTvSidePanelHandle), R::tvright, R::tvleft});
  const Rect left = RectOf(model, R::tvleft);
  Move(model, R::gtv, left.width - RectOf(model, R::gtv).width, 0);
  model[R::Web11].rect = FillWithBorderClipped(RectOf(model, R::tvright));
  model[R::Web10].rect = FillWithBorderClipped(left);
}

}  // namespace taviro
