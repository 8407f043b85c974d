#include "window/skin_routine.h"

#include "ports/skin_pictures.h"
#include "settings/settings.h"
#include "window/main_window.h"
#include "window/tab_selection.h"
#include "window/window_chrome.h"

namespace taviro {

namespace {

constexpr int kPauseSlot = 20;

}  // namespace

void LoadDesignPictures(MainWindow& window) {
  window.ports.pictures.Load(kPauseSlot, SkinResourceNumber(0, kPauseSlot));
}

void ApplySkin(MainWindow& window, int s) {
  WindowModel& model = window.model;
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    // A picture the skin lacks leaves the slot with the one it had.
    window.ports.pictures.Load(slot, SkinResourceNumber(s, slot));
  }

  const LayoutEnv env = window.Env();
  if (model.laid_out) {
    PaintFrame(model, env);
    SaveSkin(window.ConfigPath, s);
  } else {
    LayoutMainArea(model, env);
    LayoutSidePanel(model, env);
    LayoutTvSidePanel(model, env);
    LayoutPlayerArea(model, env);
    model.laid_out = true;
  }

  model[RegionId::Imi].face = Tile{s == 0 ? kLogoA1Slot : kLogoA2Slot, 0, 0, 24, 24};
  PaintButtons(model);
  SelectSideTab(window, model.side_tab, true);
  SelectMainTab(window, model.main_tab, true);
}

int StartupSkinIndex(int stored) { return stored >= 1 ? 1 : 0; }

}  // namespace taviro
