#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "linux/gtk/status_icon_tray.h"
#include "linux/gtk/status_notifier_item.h"
#include "linux/gtk/tray_menu_export.h"
#include "ports/tray_icon.h"

namespace taviro::gtk {

// The program's icon in whatever notification area the desktop has: a
// StatusNotifierItem with its menu on the bus where a panel shows it, else
// the old X11 tray's status icon; balloons are desktop notifications either
// way.
class DesktopTray final : public TrayIcon {
 public:
  struct Handlers {
    std::function<void()> left_click;
    std::function<void()> right_click;  // the old tray's, which pops the menu up itself
    std::function<void()> show_window;  // the panel menu's first item
    // The icon became reachable, or stopped being so.
    std::function<void()> reach_changed;
  };

  DesktopTray(GdkPixbuf* icon, Handlers handlers);
  DesktopTray(const DesktopTray&) = delete;
  DesktopTray& operator=(const DesktopTray&) = delete;
  ~DesktopTray() override;

  // The menu that panels show for the icon; before Add.
  void SetMenu(GtkWidget* menu) { menu_ = menu; }

  void Add(const std::string& tooltip) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  bool Embedded() const override;
  void Remove() override;

 private:
  void PopupMenuAt(int x, int y);

  GdkPixbuf* icon_;
  Handlers handlers_;
  GtkWidget* menu_ = nullptr;
  // Balloons, and the icon on X11 desktops with the old tray only.
  StatusIconTray legacy_;
  std::unique_ptr<TrayMenuExport> menu_export_;
  std::unique_ptr<StatusNotifierItem> item_;
};

}  // namespace taviro::gtk
