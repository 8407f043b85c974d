#pragma once

#include <gtk/gtk.h>
#include <libdbusmenu-glib/client.h>
#include <libdbusmenu-glib/server.h>

#include <functional>

#include "linux/gtk/gobject_ptr.h"

namespace taviro::gtk {

// The tray's menu as panels read it over the session bus
// (com.canonical.dbusmenu): an item that shows the window, then the items of
// a GtkMenu, mirrored by libdbusmenu so that a click runs the GtkMenu item's
// own command.
class TrayMenuExport {
 public:
  static constexpr const char* kObjectPath = "/MenuBar";

  TrayMenuExport(GtkWidget* menu, std::function<void()> show_window);
  TrayMenuExport(const TrayMenuExport&) = delete;
  TrayMenuExport& operator=(const TrayMenuExport&) = delete;
  ~TrayMenuExport();

 private:
  static void OnShowActivated(DbusmenuMenuitem* item, guint timestamp, gpointer self);

  std::function<void()> show_window_;
  GObjectPtr<DbusmenuMenuitem> root_;
  GObjectPtr<DbusmenuMenuitem> show_item_;
  GObjectPtr<DbusmenuServer> server_;
};

}  // namespace taviro::gtk
