#include "linux/gtk/menus_and_settings.h"

#include "ports/prompt.h"
#include "settings/setting_keys.h"
#include "ui/menus/list_menus.h"
#include "ui/menus/main_menu.h"
#include "ui/menus/player_extras_menu.h"
#include "ui/menus/player_menu.h"
#include "ui/menus/web_page_menu.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/title_bar_commands.h"

namespace taviro::gtk {
namespace {

constexpr const char* kNoUpdateText = N_("你现在使用的是最新版本，无需升级!");

}  // namespace

MenusAndSettings::MenusAndSettings(MenusAndSettingsEnv env)
    : env_(std::move(env)),
      view_(env_.skins),
      dialog_(SettingsDialogPorts{view_, view_.prompt(), view_.folders(), env_.processes, env_.programs,
                                  env_.desktop},
              env_.window.ConfigPath, env_.site_url) {
  if (!env_.check_for_update) {
    env_.check_for_update = [prompt = &env_.prompt] {
      prompt->Inform(std::string(kPromptCaption), kNoUpdateText);
    };
  }
}

void MenusAndSettings::Build(GtkWindow* main_window) {
  view_.Attach(dialog_, main_window);
  GtkMenus& menus = env_.menus;
  menus.SetAnchor(GTK_WIDGET(main_window));
  menus.SetModel(&env_.window.menu);
  const MainMenuPorts main_menu{env_.window, dialog_, env_.desktop, env_.site_url, env_.check_for_update};
  menus.AddItems(PopupMenu::r_m, MainMenuItems(main_menu));
  menus.AddItems(PopupMenu::qvod_m, PlayerMenuItems(env_.window));
  if (env_.choices != nullptr) menus.AddItems(PopupMenu::qvod_m, PlayerExtrasMenuItems(*env_.choices));
  menus.AddItems(PopupMenu::myMenu, WebPageMenuItems(env_.window));
  menus.AddItems(PopupMenu::webc, WebcMenuItems(env_.list_commands));
  menus.AddItems(PopupMenu::c_fie, CFieMenuItems(env_.list_commands));
}

}  // namespace taviro::gtk
