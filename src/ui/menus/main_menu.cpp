#include "ui/menus/main_menu.h"

#include "ports/uri_launcher.h"
#include "ui/main/main_window.h"
#include "ui/main/npc_buttons.h"
#include "ui/main/skin_routine.h"
#include "ui/main/title_bar_commands.h"
#include "ui/main/window_state.h"
#include "ui/settings/settings_dialog.h"

namespace taviro {
namespace {}  // namespace

void OpenSettingsDialog(MainWindow& window, SettingsDialog& dialog, bool about) {
  const bool topmost = window.model[Npc(npc::kTopmost)].tooltip == kLeaveTopmostTip;
  // A dialog owned by a window that stays on top would open behind it.
  if (topmost) zhi_d(window, 0);
  if (!window.model.shown) SetWindowShown(window, true);
  if (window.model.state == WindowState::kMinimised) SetWindowState(window, WindowState::kNormal);
  dialog.Show();
  if (topmost) zhi_d(window, 1);
  if (about) dialog.SelectPage(SettingsPage::kAbout);
  dialog.Focus();
}

std::vector<MenuItemData> MainMenuItems(const MainMenuPorts& ports) {
  MainWindow* w = &ports.window;
  SettingsDialog* dialog = &ports.dialog;
  UriLauncher* desktop = &ports.desktop;
  std::vector<MenuItemData> skins{
      {"green", "黑色冷酷", [w] { p_p(*w, 0); }},
      {"blue", "蓝色经典", [w] { p_p(*w, 1); }},
  };
  return {
      {"shezhi", "软件设置", [w, dialog] { OpenSettingsDialog(*w, *dialog, false); }},
      {"pifu", "更换皮肤", nullptr, std::move(skins)},
      {"about", "关于我们", [w, dialog] { OpenSettingsDialog(*w, *dialog, true); }},
      {"aa12", "-", nullptr},
      {"guanf", "官方主页", [desktop, site = ports.site_url] { desktop->Open(site); }},
      {"shengji", "升级检测",
       [check = ports.shengji] {
         if (check) check();
       }},
      // The quit routine swallows its own failures.
      {"qsoft", "退出软件", [w] { w->Quit(); }},
  };
}

}  // namespace taviro
