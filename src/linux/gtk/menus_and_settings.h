#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <string>

#include "linux/gtk/gtk_menus.h"
#include "linux/gtk/settings_dialog_view.h"
#include "ui/settings/settings_dialog.h"

namespace taviro {
struct MainWindow;
class ListCommands;
class MediaChoices;
class ProcessTable;
class ProgramLauncher;
class Prompt;
class UriLauncher;
}  // namespace taviro

namespace taviro::gtk {

class SkinPictureStore;

struct MenusAndSettingsEnv {
  MainWindow& window;
  GtkMenus& menus;
  ListCommands& list_commands;
  const SkinPictureStore& skins;
  ProcessTable& processes;
  ProgramLauncher& programs;
  UriLauncher& desktop;
  Prompt& prompt;  // the main window's message boxes
  std::string site_url;
  // The manual update check; without one the menu says there is no newer
  // version.
  std::function<void()> check_for_update;
  // The player menu's subtitle, track, speed and screenshot items.
  MediaChoices* choices = nullptr;
};

// The menu carrier's five menus and the settings dialog, wired to the core.
class MenusAndSettings {
 public:
  explicit MenusAndSettings(MenusAndSettingsEnv env);
  MenusAndSettings(const MenusAndSettings&) = delete;
  MenusAndSettings& operator=(const MenusAndSettings&) = delete;

  // Builds the menus; the dialog is owned by `main_window`.
  void Build(GtkWindow* main_window);
  // The quit routine unloads the dialog with the other windows.
  void CloseDialog() { dialog_.Cancel(); }
  void SyncDialog() { view_.Sync(); }

 private:
  MenusAndSettingsEnv env_;
  SettingsDialogView view_;
  SettingsDialog dialog_;
};

}  // namespace taviro::gtk
