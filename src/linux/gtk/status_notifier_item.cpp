#include "linux/gtk/status_notifier_item.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace taviro::gtk {
namespace {

constexpr const char* kObjectPath = "/StatusNotifierItem";
constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
// The installed desktop file's name, which panels use to group the icon.
constexpr const char* kItemId = "org.taviro.Taviro";

constexpr const char* kIntrospection = R"xml(<node>
  <interface name="org.kde.StatusNotifierItem">
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
  </interface>
</node>)xml";

bool DebugLog() { return std::getenv("TAVIRO_DEBUG") != nullptr; }

// The picture as the protocol carries it: 32-bit ARGB, most significant
// byte first.
GVariant* PixmapsOf(GdkPixbuf* icon) {
  GVariantBuilder pixmaps;
  g_variant_builder_init(&pixmaps, G_VARIANT_TYPE("a(iiay)"));
  if (icon != nullptr && gdk_pixbuf_get_bits_per_sample(icon) == 8) {
    const int width = gdk_pixbuf_get_width(icon);
    const int height = gdk_pixbuf_get_height(icon);
    const int channels = gdk_pixbuf_get_n_channels(icon);
    const int stride = gdk_pixbuf_get_rowstride(icon);
    const guchar* pixels = gdk_pixbuf_read_pixels(icon);
    GVariantBuilder bytes;
    g_variant_builder_init(&bytes, G_VARIANT_TYPE("ay"));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const guchar* pixel = pixels + y * stride + x * channels;
        g_variant_builder_add(&bytes, "y", channels == 4 ? pixel[3] : guchar{255});
        for (int c = 0; c < 3; ++c) g_variant_builder_add(&bytes, "y", pixel[c]);
      }
    }
    g_variant_builder_add(&pixmaps, "(iiay)", width, height, &bytes);
  }
  return g_variant_ref_sink(g_variant_builder_end(&pixmaps));
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(GdkPixbuf* icon, Look look, Handlers handlers)
    : handlers_(std::move(handlers)), look_(std::move(look)), pixmaps_(PixmapsOf(icon)) {
  GError* error = nullptr;
  connection_ = GObjectPtr<GDBusConnection>::Adopt(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
  if (!connection_) {
    // No session bus: no panel could show the icon anyway.
    if (DebugLog()) std::fprintf(stderr, "taviro: no session bus for a StatusNotifierItem\n");
    g_clear_error(&error);
    SetShown(false);
    return;
  }
  cancellable_ = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
  static const GDBusInterfaceVTable kVTable = {OnMethodCall, OnGetProperty, nullptr, {}};
  registration_ = g_dbus_connection_register_object(connection_.get(), kObjectPath, node->interfaces[0],
                                                    &kVTable, this, nullptr, nullptr);
  g_dbus_node_info_unref(node);
  bus_name_ = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-1";
  owner_id_ = g_bus_own_name_on_connection(connection_.get(), bus_name_.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
                                           nullptr, nullptr, nullptr, nullptr);
  host_signals_ =
      g_dbus_connection_signal_subscribe(connection_.get(), kWatcherName, kWatcherName, nullptr, kWatcherPath,
                                         nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnWatcherSignal, this, nullptr);
  watch_id_ = g_bus_watch_name_on_connection(connection_.get(), kWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                             OnWatcherAppeared, OnWatcherVanished, this, nullptr);
}

StatusNotifierItem::~StatusNotifierItem() {
  if (cancellable_) g_cancellable_cancel(cancellable_.get());
  if (watch_id_ != 0) g_bus_unwatch_name(watch_id_);
  if (host_signals_ != 0) g_dbus_connection_signal_unsubscribe(connection_.get(), host_signals_);
  if (owner_id_ != 0) g_bus_unown_name(owner_id_);
  if (registration_ != 0) g_dbus_connection_unregister_object(connection_.get(), registration_);
  g_variant_unref(pixmaps_);
}

void StatusNotifierItem::OnWatcherAppeared(GDBusConnection* connection, const gchar* /*name*/,
                                           const gchar* /*owner*/, gpointer data) {
  auto* self = static_cast<StatusNotifierItem*>(data);
  g_dbus_connection_call(connection, kWatcherName, kWatcherPath, kWatcherName, "RegisterStatusNotifierItem",
                         g_variant_new("(s)", self->bus_name_.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, -1,
                         self->cancellable_.get(), OnRegistered, self);
}

void StatusNotifierItem::OnRegistered(GObject* connection, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
  if (reply == nullptr) {
    // Cancelled means the item is gone already; any other failure leaves
    // the icon unshown, which the window treats as having no tray.
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    if (!cancelled && DebugLog()) std::fprintf(stderr, "taviro: tray watcher refused: %s\n", error->message);
    g_error_free(error);
    return;
  }
  g_variant_unref(reply);
  auto* self = static_cast<StatusNotifierItem*>(data);
  self->registered_ = true;
  self->AskForHost();
}

void StatusNotifierItem::AskForHost() {
  g_dbus_connection_call(connection_.get(), kWatcherName, kWatcherPath, "org.freedesktop.DBus.Properties",
                         "Get", g_variant_new("(ss)", kWatcherName, "IsStatusNotifierHostRegistered"),
                         G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, cancellable_.get(), OnHostAnswer,
                         this);
}

void StatusNotifierItem::OnHostAnswer(GObject* connection, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
  if (reply == nullptr) {
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_error_free(error);
    // A watcher that cannot say counts as one without a host.
    if (!cancelled) static_cast<StatusNotifierItem*>(data)->SetShown(false);
    return;
  }
  GVariant* value = nullptr;
  g_variant_get(reply, "(v)", &value);
  const bool host =
      g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value) != FALSE;
  g_variant_unref(value);
  g_variant_unref(reply);
  auto* self = static_cast<StatusNotifierItem*>(data);
  self->SetShown(self->registered_ && host);
}

void StatusNotifierItem::OnWatcherSignal(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                         const gchar* /*path*/, const gchar* /*interface*/,
                                         const gchar* signal, GVariant* /*parameters*/, gpointer data) {
  const std::string_view name = signal;
  auto* self = static_cast<StatusNotifierItem*>(data);
  if (self->registered_ &&
      (name == "StatusNotifierHostRegistered" || name == "StatusNotifierHostUnregistered")) {
    self->AskForHost();
  }
}

void StatusNotifierItem::OnWatcherVanished(GDBusConnection* /*connection*/, const gchar* /*name*/,
                                           gpointer data) {
  auto* self = static_cast<StatusNotifierItem*>(data);
  self->registered_ = false;
  self->SetShown(false);
}

void StatusNotifierItem::SetShown(bool shown) {
  const bool first = watch_reported_ == false;
  watch_reported_ = true;
  if (shown == shown_ && !first) return;
  shown_ = shown;
  if (DebugLog()) {
    std::fprintf(stderr, "taviro: tray icon %s\n",
                 shown ? "shown by a StatusNotifierItem host" : "without a StatusNotifierItem host");
  }
  if (handlers_.shown_changed) handlers_.shown_changed(shown);
}

void StatusNotifierItem::OnMethodCall(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                      const gchar* /*path*/, const gchar* /*interface*/, const gchar* method,
                                      GVariant* parameters, GDBusMethodInvocation* invocation,
                                      gpointer data) {
  auto* self = static_cast<StatusNotifierItem*>(data);
  const std::string_view name = method;
  gint32 x = 0;
  gint32 y = 0;
  if (name != "Scroll") g_variant_get(parameters, "(ii)", &x, &y);
  g_dbus_method_invocation_return_value(invocation, nullptr);
  if (name == "Activate" && self->handlers_.activate) {
    self->handlers_.activate();
  } else if (name == "ContextMenu" && self->handlers_.context_menu) {
    self->handlers_.context_menu(x, y);
  }
}

GVariant* StatusNotifierItem::OnGetProperty(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                            const gchar* /*path*/, const gchar* /*interface*/,
                                            const gchar* property, GError** /*error*/, gpointer data) {
  return static_cast<StatusNotifierItem*>(data)->Property(property);
}

GVariant* StatusNotifierItem::Property(const std::string& name) const {
  if (name == "Category") return g_variant_new_string("ApplicationStatus");
  if (name == "Id") return g_variant_new_string(kItemId);
  if (name == "Title") return g_variant_new_string(look_.tooltip.c_str());
  if (name == "Status") return g_variant_new_string("Active");
  if (name == "WindowId") return g_variant_new_int32(0);
  if (name == "IconName") return g_variant_new_string(look_.icon_name.c_str());
  if (name == "IconPixmap") return g_variant_ref(pixmaps_);
  if (name == "ItemIsMenu") return g_variant_new_boolean(FALSE);
  // "/NO_DBUSMENU" is the protocol's word for an item without a menu.
  if (name == "Menu")
    return g_variant_new_object_path(look_.menu_path.empty() ? "/NO_DBUSMENU" : look_.menu_path.c_str());
  if (name == "ToolTip") {
    return g_variant_new("(s@a(iiay)ss)", kItemId, pixmaps_, look_.tooltip.c_str(), "");
  }
  return nullptr;
}

}  // namespace taviro::gtk
