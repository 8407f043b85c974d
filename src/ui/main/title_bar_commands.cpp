#include "ui/main/title_bar_commands.h"

#include <string>

#include "settings/settings_store.h"
#include "util/text_number.h"
#include "ports/menu_presenter.h"
#include "ports/prompt.h"
#include "ports/tray_icon.h"
#include "ports/window_host.h"
#include "ui/main/chrome_faces.h"
#include "ui/main/main_window.h"
#include "ui/main/mini_mode.h"
#include "ui/main/npc_buttons.h"
#include "ui/main/tab_selection.h"
#include "ui/main/window_design.h"
#include "ui/main/window_state.h"

namespace taviro {
namespace {

// The button's normal look for the window's current state.
void PaintNormal(WindowModel& model, int index) {
  model[Npc(index)].face = TitleButtonFace(model, index, false);
}

// Whatever a command does, hover looks and the tooltip panel go away first.
void ResetHover(MainWindow& window) {
  WindowModel& model = window.model;
  model[RegionId::P1].visible = false;
  model[RegionId::jbi].fore_colour = kWhite;
  model[RegionId::qk].fore_colour = kFooterGrey;
  window.ClearNewsHover();
}

void Minimise(MainWindow& window) {
  SetWindowState(window, WindowState::kMinimised);
  PaintNormal(window.model, npc::kMinimise);
}

void MaximiseOrRestore(MainWindow& window) {
  const bool maximised = window.model.state == WindowState::kMaximised;
  SetWindowState(window, maximised ? WindowState::kNormal : WindowState::kMaximised);
  window.model[Npc(npc::kMaximise)].tooltip = maximised ? kMaximiseTip : kRestoreTip;
  PaintNormal(window.model, npc::kMaximise);
}

void Close(MainWindow& window) {
  PaintNormal(window.model, npc::kClose);
  const int question = ToInteger(ReadSetting(window.ConfigPath, settings::kCloseQuestion, settings::kUnset));
  const int action = ToInteger(ReadSetting(window.ConfigPath, settings::kCloseToTray, settings::kUnset));
  bool hide = action != 1;
  if (question == 3) {
    WriteSetting(window.ConfigPath, settings::kCloseQuestion, settings::kCloseQuestionAsked);
    std::string text{kCloseQuestionPrefix};
    text += kProductName;
    text += kCloseQuestionSuffix;
    hide = window.ports.prompt.AskYesNo(std::string(kPromptCaption), text);
    WriteSetting(window.ConfigPath, settings::kCloseToTray, hide ? "2" : "1");
  }
  if (hide && window.ports.tray.Embedded()) {
    // The icon in the notification area is the way back.
    SetWindowShown(window, false);
  } else if (hide) {
    // No notification area shows the icon (many desktops have none): a
    // hidden window could not be reached again, a minimised one can. The
    // program keeps running, as the user asked.
    SetWindowState(window, WindowState::kMinimised);
  } else {
    window.Quit();
  }
}

void ToggleTopmost(MainWindow& window) {
  RegionState& button = window.model[Npc(npc::kTopmost)];
  const bool turn_on = button.tooltip == kTopmostTip;
  button.tooltip = turn_on ? kLeaveTopmostTip : kTopmostTip;
  PaintNormal(window.model, npc::kTopmost);  // the face follows the tooltip
  zhi_d(window, turn_on ? 1 : 0);
}

void DropDownMainMenu(MainWindow& window) {
  PaintNormal(window.model, npc::kMainMenu);
  const Rect& button = window.model[Npc(npc::kMainMenu)].rect;
  window.ports.menus.PopupAt(PopupMenu::r_m, button.left - 15, button.top + 20);
}

// Flips a side panel and the handle's tooltip that records it.
void ToggleSidePanel(WindowModel& model, RegionId handle, RegionId panel) {
  RegionState& tip = model[handle];
  const bool show = tip.tooltip != kHideSidePanelTip;
  tip.tooltip = show ? kHideSidePanelTip : kShowSidePanelTip;
  model[panel].visible = show;
}

}  // namespace

void NpcClick(MainWindow& window, int index) {
  ResetHover(window);
  WindowModel& model = window.model;
  if (model.SuppressClick == 1) {
    model.SuppressClick = 0;
    return;
  }
  switch (index) {
    case npc::kMinimise: Minimise(window); break;
    case npc::kMaximise: MaximiseOrRestore(window); break;
    case npc::kClose: Close(window); break;
    case npc::kMiniMode: EnterMiniMode(window); break;
    case npc::kTopmost: ToggleTopmost(window); break;
    case npc::kMainMenu: DropDownMainMenu(window); break;
    case npc::kSidePanelHandle: {
      ToggleSidePanel(model, Npc(npc::kSidePanelHandle), RegionId::l2);
      const LayoutEnv env = window.Env();
      LayoutSidePanel(model, env);
      LayoutPlayerArea(model, env);
      break;
    }
    case npc::kTvSidePanelHandle:
      ToggleSidePanel(model, Npc(npc::kTvSidePanelHandle), RegionId::tvright);
      LayoutTvSidePanel(model, window.Env());
      break;
    case npc::kLocalFilesTab:
    case npc::kEpisodeListTab:
    case npc::kTaskListTab: SelectSideTab(window, index, false); break;
    case npc::kCatalogueTab:
    case npc::kPlayerTab:
    case npc::kTvTab:
    case npc::kHighlightsTab: SelectMainTab(window, index, false); break;
    default: break;  // 10 is the side panel's header strip
  }
}

void NpcMouseDown(MainWindow& window, int /*index*/, MouseButton button) {
  window.model.SuppressClick = button == MouseButton::kLeft ? 0 : 1;
}

void WindowDoubleClick(MainWindow& window) {
  if (window.model.SuppressClick == 1) {
    window.model.SuppressClick = 0;
    return;
  }
  NpcClick(window, npc::kMaximise);
}

void zhi_d(MainWindow& window, int flag) {
  window.model.IsTopmost = flag == 1;
  window.ports.host.SetTopmost(window.model.IsTopmost);
}

}  // namespace taviro
