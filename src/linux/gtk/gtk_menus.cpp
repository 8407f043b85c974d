#include "linux/gtk/gtk_menus.h"

#include "ui/menus/player_menu.h"
#include "util/translate.h"

namespace taviro::gtk {

GtkMenus::GtkMenus() {
  for (auto& menu : menus_) {
    menu = GObjectPtr<GtkWidget>::Retain(gtk_menu_new());
  }
}

GtkMenus::~GtkMenus() {
  for (auto& menu : menus_) {
    gtk_widget_destroy(menu.get());
  }
}

void GtkMenus::AddItems(PopupMenu menu, const std::vector<MenuItemData>& items) {
  Append(GTK_MENU_SHELL(Menu(menu)), items);
}

void GtkMenus::Append(GtkMenuShell* shell, const std::vector<MenuItemData>& items) {
  for (const MenuItemData& item : items) {
    // Hidden items exist only for the code that names them.
    if (item.hidden) continue;
    GtkWidget* widget = NewItem(item);
    if (item.live) {
      GtkWidget* submenu = gtk_menu_new();
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
      live_.push_back({submenu, item.live});
    } else if (!item.submenu.empty()) {
      GtkWidget* submenu = gtk_menu_new();
      Append(GTK_MENU_SHELL(submenu), item.submenu);
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
    }
    gtk_menu_shell_append(shell, widget);
    gtk_widget_show(widget);
  }
}

GtkWidget* GtkMenus::NewItem(const MenuItemData& item) {
  if (item.IsSeparator()) return gtk_separator_menu_item_new();
  const std::string caption = Tr(std::string(item.caption));
  const bool checkable = model_ != nullptr && CheckMark(*model_, item.name).has_value();
  GtkWidget* widget = checkable ? gtk_check_menu_item_new_with_label(caption.c_str())
                                : gtk_menu_item_new_with_label(caption.c_str());
  if (checkable) gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(widget), TRUE);
  if (item.command) Connect(widget, item.command);
  mirrors_.push_back({widget, MenuItemData{item.name, item.caption, nullptr}});
  return widget;
}

void GtkMenus::Connect(GtkWidget* widget, std::function<void()> command) {
  g_signal_connect_data(widget, "activate", G_CALLBACK(OnActivate), new Item{this, std::move(command)},
                        FreeItem, static_cast<GConnectFlags>(0));
}

// The old items go with their commands; the check marks are set before the
// commands are connected, so setting them chooses nothing.
void GtkMenus::FillLiveSubmenus() {
  for (const Live& live : live_) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(live.submenu));
    for (GList* child = children; child != nullptr; child = child->next) {
      gtk_widget_destroy(GTK_WIDGET(child->data));
    }
    g_list_free(children);
    for (const LiveMenuItem& item : live.fill()) {
      GtkWidget* widget = nullptr;
      if (item.caption == "-") {
        widget = gtk_separator_menu_item_new();
      } else if (item.checked) {
        widget = gtk_check_menu_item_new_with_label(Tr(item.caption).c_str());
        gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(widget), TRUE);
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), *item.checked);
      } else {
        widget = gtk_menu_item_new_with_label(Tr(item.caption).c_str());
      }
      if (item.command) {
        Connect(widget, item.command);
      } else if (item.caption != "-") {
        gtk_widget_set_sensitive(widget, FALSE);
      }
      gtk_menu_shell_append(GTK_MENU_SHELL(live.submenu), widget);
      gtk_widget_show(widget);
    }
  }
}

void GtkMenus::Sync() {
  if (model_ == nullptr) return;
  // Setting a check mark activates the item; that is not the user's choice.
  syncing_ = true;
  for (const Mirror& mirror : mirrors_) {
    if (GTK_IS_CHECK_MENU_ITEM(mirror.widget)) {
      const bool checked = CheckMark(*model_, mirror.item.name).value_or(false);
      if (gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(mirror.widget)) != (checked ? TRUE : FALSE)) {
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(mirror.widget), checked);
      }
    }
    if (mirror.item.IsSeparator()) continue;
    const std::string caption = Tr(std::string(LiveCaption(*model_, mirror.item)));
    if (caption != gtk_menu_item_get_label(GTK_MENU_ITEM(mirror.widget))) {
      gtk_menu_item_set_label(GTK_MENU_ITEM(mirror.widget), caption.c_str());
    }
  }
  syncing_ = false;
}

void GtkMenus::PopupAt(PopupMenu menu, int x, int y) {
  GdkWindow* window = anchor_ != nullptr ? gtk_widget_get_window(anchor_) : nullptr;
  if (window == nullptr || !gtk_widget_get_visible(anchor_)) {
    PopupAtPointer(menu);
    return;
  }
  FillLiveSubmenus();
  Sync();
  const GdkRectangle point{x, y, 1, 1};
  gtk_menu_popup_at_rect(Menu(menu), window, &point, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
}

void GtkMenus::PopupAtPointer(PopupMenu menu) {
  FillLiveSubmenus();
  Sync();
  gtk_menu_popup_at_pointer(Menu(menu), nullptr);
}

void GtkMenus::OnActivate(GtkMenuItem* /*item*/, gpointer data) {
  auto* item = static_cast<Item*>(data);
  if (item->owner->syncing_) return;
  if (item->command) item->command();
}

void GtkMenus::FreeItem(gpointer data, GClosure* /*closure*/) { delete static_cast<Item*>(data); }

}  // namespace taviro::gtk
