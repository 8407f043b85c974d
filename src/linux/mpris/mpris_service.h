#pragma once

#include <gio/gio.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "playback/media_controls.h"

namespace taviro {

// What the service asks of the rest of the program.
struct MprisHooks {
  std::function<void()> raise;  // the window to the front
  std::function<void()> quit;   // the quit routine
  std::function<void(const std::vector<std::string>&)> open_files;
};

// org.mpris.MediaPlayer2 and its Player interface on the session bus, under
// `bus_name`, answered from MediaControls. Without a session bus, or with the
// name held by another program, it logs one line and does nothing.
class MprisService {
 public:
  MprisService(MediaControls& controls, MprisHooks hooks, const std::string& bus_name, bool debug_log);
  MprisService(const MprisService&) = delete;
  MprisService& operator=(const MprisService&) = delete;
  ~MprisService();

  // Tells the desktop what changed since the last call.
  void Publish(std::int64_t now_ms);

 private:
  static void OnBusAcquired(GDBusConnection* connection, const gchar* name, gpointer self);
  static void OnNameAcquired(GDBusConnection* connection, const gchar* name, gpointer self);
  static void OnNameLost(GDBusConnection* connection, const gchar* name, gpointer self);
  static void OnMethodCall(GDBusConnection* connection, const gchar* sender, const gchar* path,
                           const gchar* interface, const gchar* method, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer self);
  static GVariant* OnGetProperty(GDBusConnection* connection, const gchar* sender, const gchar* path,
                                 const gchar* interface, const gchar* property, GError** error,
                                 gpointer self);
  static gboolean OnSetProperty(GDBusConnection* connection, const gchar* sender, const gchar* path,
                                const gchar* interface, const gchar* property, GVariant* value,
                                GError** error, gpointer self);

  void RunPlayerMethod(const std::string& method, GVariant* parameters);
  void EmitChanges(const MediaControlsUpdate& update);
  void Log(const char* text) const;

  struct NodeInfoUnref {
    void operator()(GDBusNodeInfo* info) const { g_dbus_node_info_unref(info); }
  };

  MediaControls& controls_;
  MprisHooks hooks_;
  bool debug_log_;
  std::unique_ptr<GDBusNodeInfo, NodeInfoUnref> node_info_;
  GDBusConnection* connection_ = nullptr;  // owned reference once the bus is there
  guint owner_id_ = 0;
  guint registrations_[2] = {0, 0};
  bool name_owned_ = false;
};

}  // namespace taviro
