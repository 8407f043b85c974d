#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/menus/menu_item.h"

namespace taviro {

struct MainWindow;
class SettingsDialog;
class UriLauncher;

// What the main menu `r_m` reaches besides the window. `check_for_update` is the
// manual update check of the online services.
struct MainMenuPorts {
  MainWindow& window;
  SettingsDialog& dialog;
  UriLauncher& desktop;
  std::string site_url;
  std::function<void()> check_for_update;
};

// The main menu `r_m`, in display order.
std::vector<MenuItemData> MainMenuItems(const MainMenuPorts& ports);

// Brings the main window back in front of the user and shows the settings
// dialog over it, on the about page when `about`. A topmost main window stays
// topmost and the dialog comes in front of it.
void OpenSettingsDialog(MainWindow& window, SettingsDialog& dialog, bool about);

}  // namespace taviro
