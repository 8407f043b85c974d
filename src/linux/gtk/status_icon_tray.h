#pragma once

#include <gtk/gtk.h>
#include <libnotify/notify.h>

#include <functional>

#include "linux/gtk/gobject_ptr.h"
#include "ports/tray_icon.h"

namespace taviro::gtk {

// The notification-area icon (a status icon, which reports left clicks as
// the window's rules need) and balloons as desktop notifications.
class StatusIconTray final : public TrayIcon {
 public:
  StatusIconTray(GdkPixbuf* icon, std::function<void()> on_left_click, std::function<void()> on_right_click);
  StatusIconTray(const StatusIconTray&) = delete;
  StatusIconTray& operator=(const StatusIconTray&) = delete;
  ~StatusIconTray() override;

  void Add(const std::string& tooltip) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  bool Embedded() const override;
  void Remove() override;
  // Hides the icon while another kind of icon stands for the program.
  void SetIconVisible(bool visible);
  // Called when a tray takes the icon in or lets it go.
  void SetEmbeddedChanged(std::function<void()> handler) { on_embedded_changed_ = std::move(handler); }

 private:
  static void OnActivate(GtkStatusIcon* icon, gpointer data);
  static void OnPopupMenu(GtkStatusIcon* icon, guint button, guint time, gpointer data);
  static void OnEmbeddedChanged(GObject* icon, GParamSpec* property, gpointer data);

  GdkPixbuf* icon_picture_;
  std::function<void()> on_left_click_;
  std::function<void()> on_right_click_;
  std::function<void()> on_embedded_changed_;
  GObjectPtr<GtkStatusIcon> icon_;
  GObjectPtr<NotifyNotification> balloon_;
  bool notify_ready_ = false;
};

}  // namespace taviro::gtk
