#include "ui/menus/web_page_menu.h"

#include "ports/menu_presenter.h"
#include "ports/web_view.h"
#include "util/translate.h"
#include "window/main_window.h"

namespace taviro {

std::vector<MenuItemData> WebPageMenuItems(MainWindow& window) {
  MainWindow* w = &window;
  const auto catalogue = [w]() -> WebView& { return w->ports.web.View(WebViewRole::kCatalogue); };
  // An empty history or nothing selected makes these do nothing; the views
  // report no error for it.
  return {
      {"ht", N_("后退"), [catalogue] { catalogue().GoBack(); }},
      {"qj", N_("前进"), [catalogue] { catalogue().GoForward(); }},
      {"sx", N_("刷新"), [catalogue] { catalogue().Refresh(); }},
      {"sss", "-", nullptr},
      {"fz", N_("复制"), [catalogue] { catalogue().Edit(EditCommand::kCopy); }},
      {"zt", N_("粘贴"), [catalogue] { catalogue().Edit(EditCommand::kPaste); }},
      {"zy", N_("主页"), [w, catalogue] { catalogue().Navigate(w->ServiceBaseUrl); }},
  };
}

void CatalogueContextMenu(MainWindow& window, const ContextMenuRequest& request) {
  window.ports.menus.PopupAt(PopupMenu::myMenu, request.x, request.y);
}

}  // namespace taviro
