#include "skin_set.h"

#include "control_bar.h"
#include "extras.h"
#include "frame.h"
#include "tabs.h"
#include "title_buttons.h"

namespace taviro::skin_art {

std::vector<SlotPicture> DrawSkinSlots(const Skin& skin) {
  std::vector<SlotPicture> slots;
  auto add = [&slots](int slot, Canvas picture) { slots.push_back({slot, std::move(picture)}); };
  add(0, DrawFrame(skin));
  add(1, DrawTitleButtons(skin, false));
  add(2, DrawTitleButtons(skin, true));
  add(3, DrawBarStrip(skin));
  add(4, DrawVolumeKnob(skin));
  add(5, DrawRestoreButton(skin));
  add(6, DrawTopmostButton(skin));
  add(7, DrawMainTabs(skin, true));
  add(8, DrawMainTabs(skin, false));
  add(9, DrawSideTabs(skin));
  add(10, DrawSideHeader(skin));
  add(11, DrawSideHandles(skin));
  add(12, DrawPlayPause(skin));
  add(13, DrawStopButton(skin));
  add(14, DrawMuteButton(skin));
  add(15, DrawVolumeBar(skin));
  add(16, DrawToolButtons(skin, false));
  add(17, DrawToolButtons(skin, true));
  add(18, DrawEpisodeButtons(skin));
  if (skin.index == 0) add(20, DrawPausePicture(skin));
  return slots;
}

}  // namespace taviro::skin_art
