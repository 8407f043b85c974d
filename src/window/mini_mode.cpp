#include "window/mini_mode.h"

#include <string>

#include "ports/window_host.h"
#include "settings/settings.h"
#include "window/chrome_faces.h"
#include "window/chrome_state.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"
#include "window/window_state.h"

namespace taviro {
namespace {

void SetAllNpcVisible(WindowModel& model, bool visible) {
  for (int i = 0; i < npc::kCount; ++i) model[Npc(i)].visible = visible;
}

}  // namespace

void EnterMiniMode(MainWindow& window) {
  ResetHover(window);
  WindowModel& model = window.model;
  if (model.ContentMode == ContentMode::kNothingShown) return;
  ShowMainTab(window, model.ContentMode == ContentMode::kTvPage ? MainTab::kTv : MainTab::kPlayer);

  SetWindowState(window, WindowState::kNormal);
  // The maximise button will next be seen on a normal window.
  ShowMaximiseButton(model);
  model[RegionId::jbi].visible = true;
  model[RegionId::Imi].visible = false;
  model[RegionId::bo_name].visible = false;
  SetAllNpcVisible(model, false);
  model[RegionId::ni_name].visible = false;

  if (model.main_tab == MainTab::kPlayer) {
    model.mini_mode = MiniMode::kPlayer;
    model[RegionId::ggx].visible = false;
    model[RegionId::ni_bo1].visible = true;
    model[RegionId::l2].visible = false;
    window.menu.q_jing = kLeaveMiniModeCaption;
  } else {
    model.mini_mode = MiniMode::kTv;
    model[RegionId::gtv].visible = false;
    model[RegionId::tvright].visible = false;
  }

  model[RegionId::bo_foot].visible = false;
  SetOuterSize(window, kMiniWidthTwips, kMiniHeightTwips);
  model[Npc(npc::kMiniMode)].face = TitleButtonFace(model, npc::kMiniMode, false);
}

void JbiClick(MainWindow& window) {
  WindowModel& model = window.model;
  if (model.state == WindowState::kMaximised) SetWindowState(window, WindowState::kNormal);

  SetAllNpcVisible(model, true);
  model[RegionId::jbi].visible = false;
  model[RegionId::Imi].visible = true;
  model[RegionId::ni_name].caption = std::string(kProductName) + " " + std::string(kProductVersion);
  FitAutoSizeLabel(model, RegionId::ni_name, window.ports.text);
  model[RegionId::ni_name].visible = true;
  model[RegionId::bo_foot].visible = true;

  if (model.mini_mode == MiniMode::kPlayer) {
    model[RegionId::bo_name].visible = true;
    model[RegionId::ni_bo1].visible = false;
    model[RegionId::ggx].visible = true;
    model[RegionId::l2].visible = model.side_panel_shown;
    window.menu.q_jing = kMiniModeCaption;
  } else if (model.mini_mode == MiniMode::kTv) {
    model[RegionId::gtv].visible = true;
    model[RegionId::tvright].visible = model.tv_side_panel_shown;
  }
  model.mini_mode = MiniMode::kOff;

  // What is not a number reads 0, and the layout's minimum then takes over.
  const Settings stored = Settings::Load(window.ConfigPath);
  SetOuterSize(window, stored.saved_width_twips, stored.saved_height_twips);
  const ScreenRect screen = window.ports.host.ScreenBounds();
  MoveOuter(window, (screen.width() * kTwipsPerPixel - model.width_twips) / 2,
            (screen.height() * kTwipsPerPixel - model.height_twips) / 2);
}

}  // namespace taviro
