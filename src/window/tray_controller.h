#pragma once

#include <string_view>

#include "ports/window_host.h"
#include "util/translate.h"
#include "window/window_model.h"

namespace taviro {

struct MainWindow;
class TrayIcon;

inline constexpr std::string_view kBalloonTitle = N_("Taviro提示:");
inline constexpr int kBalloonTextLimit = 255;  // characters

// The icon lives from start-up to quit; its tooltip is the window's caption.
void AddTrayIcon(MainWindow& window);
void RemoveTrayIcon(MainWindow& window);

// Left click: a minimised window comes back to normal, a visible one hides,
// a hidden one shows.
void OnTrayLeftClick(MainWindow& window);
// Right click: the main menu at the pointer, even while the window is hidden.
void OnTrayRightClick(MainWindow& window);
// The panel menu's "显示": the window comes back, whatever its state.
void ShowFromTray(MainWindow& window);
// The icon's panel came or went. A window hidden to an icon that no panel
// shows any more could never be reached again: it comes back minimised.
void OnTrayReachChanged(MainWindow& window);

// A transient notice at the icon. Longer texts are cut, never refused.
void ShowBalloon(TrayIcon& tray, std::string_view text);

// A maximum of 0 means the screen's size.
SizeLimits HookSizeLimits(int min_width, int min_height, int max_width, int max_height,
                          const ScreenRect& screen);

}  // namespace taviro
