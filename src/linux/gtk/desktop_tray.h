#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "linux/gtk/status_icon_tray.h"
#include "linux/gtk/status_notifier_item.h"
#include "ports/tray_icon.h"

namespace taviro::gtk {

// The program's icon in whatever notification area the desktop has: a
// StatusNotifierItem where a watcher shows it, else the old X11 tray's
// status icon; balloons are desktop notifications either way.
class DesktopTray final : public TrayIcon {
 public:
  DesktopTray(GdkPixbuf* icon, std::function<void()> on_left_click, std::function<void()> on_right_click);
  DesktopTray(const DesktopTray&) = delete;
  DesktopTray& operator=(const DesktopTray&) = delete;
  ~DesktopTray() override;

  void Add(const std::string& tooltip) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  bool Embedded() const override;
  void Remove() override;

 private:
  GdkPixbuf* icon_;
  std::function<void()> on_left_click_;
  std::function<void()> on_right_click_;
  // Balloons, and the icon on X11 desktops with the old tray only.
  StatusIconTray legacy_;
  std::unique_ptr<StatusNotifierItem> item_;
};

}  // namespace taviro::gtk
