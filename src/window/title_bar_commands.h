#pragma once

#include <string_view>

#include "util/translate.h"
#include "window/npc_buttons.h"
#include "window/window_body_mouse.h"

namespace taviro {

struct MainWindow;

inline constexpr std::string_view kPromptCaption = N_("提示：");
// "关闭 " + product name + "  最小化到托盘吗？"
inline constexpr std::string_view kCloseQuestionPrefix = "关闭 ";
inline constexpr std::string_view kCloseQuestionSuffix = "  最小化到托盘吗？";

// Whatever a title-bar command does, hover looks and the tooltip panel go
// away first.
void ResetHover(MainWindow& window);

// The commands of the title bar, the tabs and the side-panel handles. Each
// first takes away hover looks and the tooltip panel (mini mode's too).
void MinimiseWindow(MainWindow& window);
void MaximiseOrRestoreWindow(MainWindow& window);
// Asks, when the settings say so, whether to hide the window to the tray
// instead of quitting, then hides or quits.
void CloseWindow(MainWindow& window);
void ToggleTopmost(MainWindow& window);
void DropDownMainMenu(MainWindow& window);
void ToggleSidePanel(MainWindow& window, SidePanel panel);
void ShowMainTab(MainWindow& window, MainTab tab);
void ShowSideTab(MainWindow& window, SideTab tab);

// Keeps the window above others, or lets it go.
void SetTopmost(MainWindow& window, bool topmost);

// A click on the `npc` button `index`: runs its command, unless a press with
// another button than the left one came before it.
void ClickTitleBarButton(MainWindow& window, int index);

// A press with any button but the left one makes the next click or
// double-click do nothing (it only clears the flag).
void TitleBarButtonDown(MainWindow& window, MouseButton button);

// A double-click on the window body maximises or restores.
void WindowDoubleClick(MainWindow& window);

}  // namespace taviro
