#include "platform/linux/gtk/gtk_menus.h"

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

GtkWidget* GtkMenus::AddItem(PopupMenu menu, const char* caption, std::function<void()> command) {
  GtkWidget* item = gtk_menu_item_new_with_label(caption);
  g_signal_connect_data(item, "activate", G_CALLBACK(OnActivate), new Item{std::move(command)}, FreeItem,
                        static_cast<GConnectFlags>(0));
  gtk_menu_shell_append(GTK_MENU_SHELL(Menu(menu)), item);
  gtk_widget_show(item);
  return item;
}

void GtkMenus::AddSeparator(PopupMenu menu) {
  GtkWidget* separator = gtk_separator_menu_item_new();
  gtk_menu_shell_append(GTK_MENU_SHELL(Menu(menu)), separator);
  gtk_widget_show(separator);
}

void GtkMenus::PopupAt(PopupMenu menu, int x, int y) {
  GdkWindow* window = anchor_ != nullptr ? gtk_widget_get_window(anchor_) : nullptr;
  if (window == nullptr) {
    PopupAtPointer(menu);
    return;
  }
  const GdkRectangle point{x, y, 1, 1};
  gtk_menu_popup_at_rect(Menu(menu), window, &point, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
}

void GtkMenus::PopupAtPointer(PopupMenu menu) { gtk_menu_popup_at_pointer(Menu(menu), nullptr); }

void GtkMenus::OnActivate(GtkMenuItem* /*item*/, gpointer data) {
  auto* item = static_cast<Item*>(data);
  if (item->command) {
    item->command();
  }
}

void GtkMenus::FreeItem(gpointer data, GClosure* /*closure*/) { delete static_cast<Item*>(data); }

}  // namespace taviro::gtk
