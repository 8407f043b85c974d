#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "linux/gtk/gobject_ptr.h"

namespace taviro::gtk {

// The notification-area icon as current panels and Wayland desktops show it:
// a StatusNotifierItem on the session bus, registered with the desktop's
// watcher whenever one is there. Without a session bus it does nothing.
// The icon counts as shown only while a host (a panel) has registered with
// the watcher: a watcher alone shows nothing.
class StatusNotifierItem {
 public:
  struct Look {
    std::string tooltip;
    std::string icon_name;  // themed; empty where no theme has the icon
    std::string menu_path;  // the exported menu's object path, or empty
  };
  struct Handlers {
    std::function<void()> activate;              // a left click on the icon
    std::function<void(int, int)> context_menu;  // a right click, at screen coordinates
    // Whether a host shows the icon now: called once the bus has answered
    // (or at once without a bus), then each time that changes.
    std::function<void(bool)> shown_changed;
  };

  StatusNotifierItem(GdkPixbuf* icon, Look look, Handlers handlers);
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;
  ~StatusNotifierItem();

  bool Shown() const { return shown_; }

 private:
  static void OnMethodCall(GDBusConnection* connection, const gchar* sender, const gchar* path,
                           const gchar* interface, const gchar* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer self);
  static GVariant* OnGetProperty(GDBusConnection* connection, const gchar* sender, const gchar* path,
                                 const gchar* interface, const gchar* property, GError** error,
                                 gpointer self);
  static void OnWatcherAppeared(GDBusConnection* connection, const gchar* name, const gchar* owner,
                                gpointer self);
  static void OnWatcherVanished(GDBusConnection* connection, const gchar* name, gpointer self);
  static void OnRegistered(GObject* connection, GAsyncResult* result, gpointer self);
  static void OnWatcherSignal(GDBusConnection* connection, const gchar* sender, const gchar* path,
                              const gchar* interface, const gchar* signal, GVariant* parameters,
                              gpointer self);
  static void OnHostAnswer(GObject* connection, GAsyncResult* result, gpointer self);

  void AskForHost();

  GVariant* Property(const std::string& name) const;
  void SetShown(bool shown);

  Handlers handlers_;
  Look look_;
  std::string bus_name_;
  GVariant* pixmaps_ = nullptr;  // a(iiay), owned
  GObjectPtr<GDBusConnection> connection_;
  GObjectPtr<GCancellable> cancellable_;
  guint registration_ = 0;
  guint owner_id_ = 0;
  guint watch_id_ = 0;
  guint host_signals_ = 0;
  bool registered_ = false;  // the watcher took the item
  bool shown_ = false;
  bool watch_reported_ = false;  // the first answer is passed on even when it is "not shown"
};

}  // namespace taviro::gtk
