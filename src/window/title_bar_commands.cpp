#include "window/title_bar_commands.h"

#include <string>

#include "ports/menu_presenter.h"
#include "ports/prompt.h"
#include "ports/tray_icon.h"
#include "ports/window_host.h"
#include "settings/settings.h"
#include "window/chrome_faces.h"
#include "window/chrome_state.h"
#include "window/main_window.h"
#include "window/mini_mode.h"
#include "window/npc_buttons.h"
#include "window/tab_selection.h"
#include "window/window_design.h"
#include "window/window_state.h"

namespace taviro {
namespace {

// The button's normal look for the window's current state.
void PaintNormal(WindowModel& model, int index) {
  model[Npc(index)].face = TitleButtonFace(model, index, false);
}

}  // namespace

void ResetHover(MainWindow& window) {
  WindowModel& model = window.model;
  model[RegionId::P1].visible = false;
  model[RegionId::jbi].fore_colour = kWhite;
  model[RegionId::qk].fore_colour = kFooterGrey;
  window.ClearNewsHover();
}

void MinimiseWindow(MainWindow& window) {
  ResetHover(window);
  SetWindowState(window, WindowState::kMinimised);
  PaintNormal(window.model, npc::kMinimise);
}

void MaximiseOrRestoreWindow(MainWindow& window) {
  ResetHover(window);
  const bool maximised = window.model.state == WindowState::kMaximised;
  SetWindowState(window, maximised ? WindowState::kNormal : WindowState::kMaximised);
  ShowMaximiseButton(window.model);
}

void CloseWindow(MainWindow& window) {
  ResetHover(window);
  PaintNormal(window.model, npc::kClose);
  const Settings stored = Settings::Load(window.ConfigPath);
  bool hide = stored.close_to_tray;
  if (stored.close_question_pending) {
    SaveCloseQuestionAsked(window.ConfigPath);
    std::string text{kCloseQuestionPrefix};
    text += kProductName;
    text += kCloseQuestionSuffix;
    hide = window.ports.prompt.AskYesNo(std::string(kPromptCaption), text);
    SaveCloseToTray(window.ConfigPath, hide);
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
  ResetHover(window);
  SetTopmost(window, !window.model.topmost);
}

void DropDownMainMenu(MainWindow& window) {
  ResetHover(window);
  PaintNormal(window.model, npc::kMainMenu);
  const Rect& button = window.model[Npc(npc::kMainMenu)].rect;
  window.ports.menus.PopupAt(PopupMenu::r_m, button.left - 15, button.top + 20);
}

void ToggleSidePanel(MainWindow& window, SidePanel panel) {
  ResetHover(window);
  WindowModel& model = window.model;
  const LayoutEnv env = window.Env();
  if (panel == SidePanel::kPlayer) {
    ShowSidePanelShown(model, panel, !model.side_panel_shown);
    model[RegionId::l2].visible = model.side_panel_shown;
    LayoutSidePanel(model, env);
    LayoutPlayerArea(model, env);
  } else {
    ShowSidePanelShown(model, panel, !model.tv_side_panel_shown);
    model[RegionId::tvright].visible = model.tv_side_panel_shown;
    LayoutTvSidePanel(model, env);
  }
}

void ShowMainTab(MainWindow& window, MainTab tab) {
  ResetHover(window);
  SelectMainTab(window, tab, false);
}

void ShowSideTab(MainWindow& window, SideTab tab) {
  ResetHover(window);
  SelectSideTab(window, tab, false);
}

void SetTopmost(MainWindow& window, bool topmost) {
  SetTopmostShown(window.model, topmost);
  window.ports.host.SetTopmost(topmost);
}

void ClickTitleBarButton(MainWindow& window, int index) {
  if (window.model.ignore_next_click) {
    ResetHover(window);
    window.model.ignore_next_click = false;
    return;
  }
  switch (index) {
    case npc::kMinimise: MinimiseWindow(window); break;
    case npc::kMaximise: MaximiseOrRestoreWindow(window); break;
    case npc::kClose: CloseWindow(window); break;
    case npc::kMiniMode: EnterMiniMode(window); break;
    case npc::kTopmost: ToggleTopmost(window); break;
    case npc::kMainMenu: DropDownMainMenu(window); break;
    case npc::kSidePanelHandle: ToggleSidePanel(window, SidePanel::kPlayer); break;
    case npc::kTvSidePanelHandle: ToggleSidePanel(window, SidePanel::kTvChannels); break;
    case npc::kLocalFilesTab:
    case npc::kEpisodeListTab:
    case npc::kTaskListTab: ShowSideTab(window, static_cast<SideTab>(index)); break;
    case npc::kCatalogueTab:
    case npc::kPlayerTab:
    case npc::kTvTab:
    case npc::kHighlightsTab: ShowMainTab(window, static_cast<MainTab>(index)); break;
    default: ResetHover(window); break;  // 10 is the side panel's header strip
  }
}

void TitleBarButtonDown(MainWindow& window, MouseButton button) {
  window.model.ignore_next_click = button != MouseButton::kLeft;
}

void WindowDoubleClick(MainWindow& window) {
  if (window.model.ignore_next_click) {
    window.model.ignore_next_click = false;
    return;
  }
  MaximiseOrRestoreWindow(window);
}

}  // namespace taviro
