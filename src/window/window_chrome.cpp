#include "window/window_chrome.h"

#include <utility>

#include "window/bo_but_buttons.h"
#include "window/chrome_faces.h"
#include "window/npc_buttons.h"

namespace taviro {
namespace {

// The top edge and the upper end of the sides differ between the normal and
// the mini frame; the bottom is shared.
struct TopSource {
  int height;       // of the top pieces
  int side_top;     // where the side strips start in the sheet
  int side_height;  // of the side strips in the sheet
};

constexpr TopSource kNormalTop{55, 55, 8};
constexpr TopSource kMiniTop{30, 50, 33};

}  // namespace

std::array<FramePiece, 8> FramePieces(int client_width, int client_height, bool mini_mode) {
  const TopSource top = mini_mode ? kMiniTop : kNormalTop;
  const int w = client_width;
  const int h = client_height;
  const int side_height = h - top.height;
  return {{
      {{0, top.side_top, 35, top.side_height}, {0, top.height, 35, side_height}},        // left side
      {{45, top.side_top, 35, top.side_height}, {w - 35, top.height, 35, side_height}},  // right side
      {{35, 63, 10, 45}, {35, h - 45, w - 70, 45}},                                      // bottom middle
      {{0, 63, 35, 45}, {0, h - 45, 35, 45}},                                            // bottom left
      {{45, 63, 35, 45}, {w - 35, h - 45, 35, 45}},                                      // bottom right
      {{40, 0, 10, top.height}, {40, 0, w - 70, top.height}},                            // top middle
      {{0, 0, 40, top.height}, {0, 0, 40, top.height}},                                  // top left
      {{50, 0, 30, top.height}, {w - 30, 0, 30, top.height}},                            // top right
  }};
}

void PaintButtons(WindowModel& model) {
  for (int index = 0; index <= 5; ++index) {
    model[Npc(index)].face = TitleButtonFace(model, index, false);
  }
  // Normal tab looks; the selected ones are painted by the tab selection.
  constexpr int kNormalTabs = 8;
  const std::pair<int, int> tabs[] = {{9, 0}, {8, 100}, {13, 200}, {14, 300}};
  for (const auto& [index, x] : tabs) {
    model[Npc(index)].face = Tile{kNormalTabs, x, 0, 100, 37};
  }
  model[Npc(npc::kSidePanelHeader)].face = Tile{10, 0, 0, 2, 28, true};
  model[Npc(npc::kEpisodeListTab)].face = Tile{9, 0, 21, 60, 21};
  model[Npc(npc::kLocalFilesTab)].face = Tile{9, 120, 21, 60, 21};

  // Play, stop and mute start from their first tile whatever the state.
  model[BoBut(bo_but::kPlayPause)].face = Tile{12, 0, 0, 58, 43};
  model[BoBut(bo_but::kStop)].face = Tile{13, 0, 0, 25, 25};
  model[BoBut(bo_but::kMute)].face = Tile{14, 0, 0, 25, 25};
  for (int index : {3, 4, 5, 6, 7}) {
    model[BoBut(index)].face = ControlButtonFace(model, index, false);
  }
  const Rect bar = model[RegionId::yin].rect;
  model[RegionId::yin].face = Tile{15, 0, 0, bar.width, bar.height};
  const Rect knob = model[RegionId::bo_v].rect;
  model[RegionId::bo_v].face = Tile{4, 0, 0, knob.width, knob.height};
}

}  // namespace taviro
