#include "ui/menus/main_menu.h"

#include "ports/uri_launcher.h"
#include "ui/settings/settings_dialog.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/skin_routine.h"
#include "window/title_bar_commands.h"
#include "window/window_state.h"

namespace taviro {
namespace {}  // namespace

void OpenSettingsDialog(MainWindow& window, SettingsDialog& dialog, bool about) {
  const bool topmost = window.model.topmost;
  // A dialog owned by a window that stays on top would open behind it.
  if (topmost) SetTopmost(window, false);
  if (!window.model.shown) SetWindowShown(window, true);
  if (window.model.state == WindowState::kMinimised) SetWindowState(window, WindowState::kNormal);
  dialog.Show();
  if (topmost) SetTopmost(window, true);
  if (about) dialog.SelectPage(SettingsPage::kAbout);
  dialog.Focus();
}

std::vector<MenuItemData> MainMenuItems(const MainMenuPorts& ports) {
  MainWindow* w = &ports.window;
  SettingsDialog* dialog = &ports.dialog;
  UriLauncher* desktop = &ports.desktop;
  std::vector<MenuItemData> skins{
      {"green", N_("黑色冷酷"), [w] { ApplySkin(*w, 0); }},
      {"blue", N_("蓝色经典"), [w] { ApplySkin(*w, 1); }},
  };
  return {
      {"shezhi", N_("软件设置"), [w, dialog] { OpenSettingsDialog(*w, *dialog, false); }},
      {"pifu", N_("更换皮肤"), nullptr, std::move(skins)},
      {"about", N_("关于我们"), [w, dialog] { OpenSettingsDialog(*w, *dialog, true); }},
      {"aa12", "-", nullptr},
      {"guanf", N_("官方主页"), [desktop, site = ports.site_url] { desktop->Open(site); }},
      {"shengji", N_("升级检测"),
       [check = ports.check_for_update] {
         if (check) check();
       }},
      // The quit routine swallows its own failures.
      {"qsoft", N_("退出软件"), [w] { w->Quit(); }},
  };
}

}  // namespace taviro
