#include "linux/gtk/tray_menu_export.h"

#include <libdbusmenu-gtk/parser.h>

#include "util/translate.h"

namespace taviro::gtk {
namespace {

GObjectPtr<DbusmenuMenuitem> NewItem(const char* label) {
  auto item = GObjectPtr<DbusmenuMenuitem>::Adopt(dbusmenu_menuitem_new());
  if (label != nullptr) {
    dbusmenu_menuitem_property_set(item.get(), DBUSMENU_MENUITEM_PROP_LABEL, label);
  } else {
    dbusmenu_menuitem_property_set(item.get(), DBUSMENU_MENUITEM_PROP_TYPE, DBUSMENU_CLIENT_TYPES_SEPARATOR);
  }
  return item;
}

}  // namespace

TrayMenuExport::TrayMenuExport(GtkWidget* menu, std::function<void()> show_window)
    : show_window_(std::move(show_window)),
      root_(GObjectPtr<DbusmenuMenuitem>::Adopt(dbusmenu_gtk_parse_menu_structure(menu))),
      show_item_(NewItem(Tr(N_("显示")))) {
  // Panels that open the menu on a left click never send Activate: the
  // window is reached through the menu's first item there.
  g_signal_connect(show_item_.get(), DBUSMENU_MENUITEM_SIGNAL_ITEM_ACTIVATED, G_CALLBACK(OnShowActivated),
                   this);
  dbusmenu_menuitem_child_add_position(root_.get(), show_item_.get(), 0);
  GObjectPtr<DbusmenuMenuitem> separator = NewItem(nullptr);
  dbusmenu_menuitem_child_add_position(root_.get(), separator.get(), 1);
  server_ = GObjectPtr<DbusmenuServer>::Adopt(dbusmenu_server_new(kObjectPath));
  dbusmenu_server_set_root(server_.get(), root_.get());
}

TrayMenuExport::~TrayMenuExport() {
  g_signal_handlers_disconnect_by_data(show_item_.get(), this);
  server_.Reset();
}

void TrayMenuExport::OnShowActivated(DbusmenuMenuitem* /*item*/, guint /*timestamp*/, gpointer self) {
  auto* exported = static_cast<TrayMenuExport*>(self);
  if (exported->show_window_) exported->show_window_();
}

}  // namespace taviro::gtk
