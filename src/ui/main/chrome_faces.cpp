#include "ui/main/chrome_faces.h"

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
    case 0:
      return 72;
    case 1:
      return 96;
    case 2:
      return 120;
    case 3:
      return 0;
    default:
      return 48;  // 5, the menu
  }
}

}  // namespace

Tile TitleButtonFace(const WindowModel& model, int index, bool hover) {
  if (index == 1 && model.state == WindowState::kMaximised) {
    return TitleTile(kRestore, hover ? 24 : 0);
  }
  if (index == 4) {
    const bool topmost = model[Npc(4)].tooltip != "置顶";
    return TitleTile(kTopmost, (topmost ? 48 : 0) + (hover ? 24 : 0));
  }
  return TitleTile(hover ? kTitleHover : kTitleNormal, TitleSheetX(index));
}

Tile ControlButtonFace(const WindowModel& model, int index, bool hover) {
  switch (index) {
    case 0: {
      const bool playing = model[BoBut(0)].tooltip == "暂停";
      return Tile{kPlayPause, (playing ? 116 : 0) + (hover ? 58 : 0), 0, 58, 43};
    }
    case 1:
      return ControlTile(kStop, hover ? 25 : 0);
    case 2: {
      const bool muted = model[BoBut(2)].tooltip != "静音";
      return ControlTile(kMute, (muted ? 50 : 0) + (hover ? 25 : 0));
    }
    case 5:
      return ControlTile(kEpisodes, hover ? 25 : 0);
    case 7:
      return ControlTile(kEpisodes, hover ? 75 : 50);
    default: {
      const int x = index == 3 ? 50 : index == 4 ? 25 : 75;  // 6
      return ControlTile(hover ? kControlHover : kControlNormal, x);
    }
  }
}

}  // namespace taviro
