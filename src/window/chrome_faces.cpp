#include "window/chrome_faces.h"

#include "window/bo_but_buttons.h"
#include "window/npc_buttons.h"

namespace taviro {
namespace {

constexpr int kTitleSize = 24;
constexpr int kControlSize = 25;

enum Sheet : int {
  kTitleNormal = 1,
  kTitleHover = 2,
  kRestore = 5,
  kTopmost = 6,
  kPlayPause = 12,
  kStop = 13,
  kMute = 14,
  kControlNormal = 16,
  kControlHover = 17,
  kEpisodes = 18,
};

Tile TitleTile(int sheet, int x) { return Tile{sheet, x, 0, kTitleSize, kTitleSize}; }
Tile ControlTile(int sheet, int x) { return Tile{sheet, x, 0, kControlSize, kControlSize}; }

// Where each plain title-bar button sits on the normal and hover sheets.
int TitleSheetX(int index) {
  switch (index) {
    case npc::kMinimise: return 72;
    case npc::kMaximise: return 96;
    case npc::kClose: return 120;
    case npc::kMiniMode: return 0;
    default: return 48;  // the main menu
  }
}

}  // namespace

Tile TitleButtonFace(const WindowModel& model, int index, bool hover) {
  if (index == npc::kMaximise && model.state == WindowState::kMaximised) {
    return TitleTile(kRestore, hover ? 24 : 0);
  }
  if (index == npc::kTopmost) {
    const bool topmost = model.topmost;
    return TitleTile(kTopmost, (topmost ? 48 : 0) + (hover ? 24 : 0));
  }
  return TitleTile(hover ? kTitleHover : kTitleNormal, TitleSheetX(index));
}

Tile ControlButtonFace(const WindowModel& model, int index, bool hover) {
  switch (index) {
    case bo_but::kPlayPause: {
      const bool playing = model.playing;
      return Tile{kPlayPause, (playing ? 116 : 0) + (hover ? 58 : 0), 0, 58, 43};
    }
    case bo_but::kStop: return ControlTile(kStop, hover ? 25 : 0);
    case bo_but::kMute: {
      const bool muted = model.muted;
      return ControlTile(kMute, (muted ? 50 : 0) + (hover ? 25 : 0));
    }
    case bo_but::kPrevious: return ControlTile(kEpisodes, hover ? 25 : 0);
    case bo_but::kNext: return ControlTile(kEpisodes, hover ? 75 : 50);
    default: {
      const int x = index == bo_but::kFullScreen ? 50 : index == bo_but::kOpenFile ? 25 : 75;  // side panel
      return ControlTile(hover ? kControlHover : kControlNormal, x);
    }
  }
}

}  // namespace taviro
