#include "linux/mpris/mpris_service.h"

#include <cstdio>
#include <string_view>

#include "app/hand_off_paths.h"
#include "playback/media_choices.h"
#include "taviro_media_types.h"

namespace taviro {
namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
// The installed desktop file's name without ".desktop": shells take the
// player's name and icon from it.
constexpr const char* kDesktopEntry = "org.taviro.Taviro";

constexpr const char* kIntrospection = R"(<node>
  <interface name="org.mpris.MediaPlayer2">
    <method name="Raise"/>
    <method name="Quit"/>
    <property name="CanQuit" type="b" access="read"/>
    <property name="CanRaise" type="b" access="read"/>
    <property name="HasTrackList" type="b" access="read"/>
    <property name="Identity" type="s" access="read"/>
    <property name="DesktopEntry" type="s" access="read"/>
    <property name="SupportedUriSchemes" type="as" access="read"/>
    <property name="SupportedMimeTypes" type="as" access="read"/>
  </interface>
  <interface name="org.mpris.MediaPlayer2.Player">
    <method name="Next"/>
    <method name="Previous"/>
    <method name="Pause"/>
    <method name="PlayPause"/>
    <method name="Stop"/>
    <method name="Play"/>
    <method name="Seek"><arg direction="in" name="Offset" type="x"/></method>
    <method name="SetPosition">
      <arg direction="in" name="TrackId" type="o"/>
      <arg direction="in" name="Position" type="x"/>
    </method>
    <method name="OpenUri"><arg direction="in" name="Uri" type="s"/></method>
    <signal name="Seeked"><arg name="Position" type="x"/></signal>
    <property name="PlaybackStatus" type="s" access="read"/>
    <property name="Rate" type="d" access="readwrite"/>
    <property name="Metadata" type="a{sv}" access="read"/>
    <property name="Volume" type="d" access="readwrite"/>
    <property name="Position" type="x" access="read"/>
    <property name="MinimumRate" type="d" access="read"/>
    <property name="MaximumRate" type="d" access="read"/>
    <property name="CanGoNext" type="b" access="read"/>
    <property name="CanGoPrevious" type="b" access="read"/>
    <property name="CanPlay" type="b" access="read"/>
    <property name="CanPause" type="b" access="read"/>
    <property name="CanSeek" type="b" access="read"/>
    <property name="CanControl" type="b" access="read"/>
  </interface>
</node>)";

std::int64_t MonotonicMs() { return g_get_monotonic_time() / 1000; }

// D-Bus strings must be UTF-8; a file name need not be.
GVariant* TextVariant(const std::string& text) {
  gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
  GVariant* value = g_variant_new_string(valid);
  g_free(valid);
  return value;
}

GVariant* MetadataVariant(const MediaControlsState& state) {
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
  g_variant_builder_add(&builder, "{sv}", "mpris:trackid", g_variant_new_object_path(state.track_id.c_str()));
  if (state.length_us > 0) {
    g_variant_builder_add(&builder, "{sv}", "mpris:length", g_variant_new_int64(state.length_us));
  }
  if (!state.title.empty()) {
    g_variant_builder_add(&builder, "{sv}", "xesam:title", TextVariant(state.title));
  }
  if (!state.url.empty()) {
    g_variant_builder_add(&builder, "{sv}", "xesam:url", TextVariant(state.url));
  }
  if (!state.artist.empty()) {
    GVariant* artists[] = {TextVariant(state.artist)};
    g_variant_builder_add(&builder, "{sv}", "xesam:artist",
                          g_variant_new_array(G_VARIANT_TYPE_STRING, artists, 1));
  }
  return g_variant_builder_end(&builder);
}

GVariant* MediaTypesVariant() {
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("as"));
  const std::string_view types = build_config::kMediaTypes;
  std::size_t start = 0;
  while (start < types.size()) {
    std::size_t end = types.find(';', start);
    if (end == std::string_view::npos) end = types.size();
    if (end > start)
      g_variant_builder_add(&builder, "s", std::string(types.substr(start, end - start)).c_str());
    start = end + 1;
  }
  return g_variant_builder_end(&builder);
}

// Both interfaces' properties. The names do not overlap, and GDBus asks only
// for names the interface declares, so the name alone says which is meant.
GVariant* PropertyValue(std::string_view name, MediaControls& controls) {
  if (name == "CanQuit" || name == "CanRaise" || name == "CanControl") return g_variant_new_boolean(TRUE);
  if (name == "HasTrackList") return g_variant_new_boolean(FALSE);
  if (name == "Identity") return g_variant_new_string("Taviro");
  if (name == "DesktopEntry") return g_variant_new_string(kDesktopEntry);
  if (name == "SupportedUriSchemes") {
    const gchar* schemes[] = {"file", nullptr};
    return g_variant_new_strv(schemes, -1);
  }
  if (name == "SupportedMimeTypes") return MediaTypesVariant();
  if (name == "Position") return g_variant_new_int64(controls.PositionUs());
  if (name == "MinimumRate") return g_variant_new_double(kSpeeds.front());
  if (name == "MaximumRate") return g_variant_new_double(kSpeeds.back());
  const MediaControlsState state = controls.Current();
  if (name == "Rate") return g_variant_new_double(state.rate);
  if (name == "PlaybackStatus")
    return g_variant_new_string(std::string(PlaybackStatusName(state.status)).c_str());
  if (name == "Metadata") return MetadataVariant(state);
  if (name == "Volume") return g_variant_new_double(state.volume);
  if (name == "CanGoNext") return g_variant_new_boolean(state.can_go_next);
  if (name == "CanGoPrevious") return g_variant_new_boolean(state.can_go_previous);
  if (name == "CanPlay") return g_variant_new_boolean(state.can_play);
  if (name == "CanPause") return g_variant_new_boolean(state.can_pause);
  if (name == "CanSeek") return g_variant_new_boolean(state.can_seek);
  return nullptr;
}

}  // namespace

MprisService::MprisService(MediaControls& controls, MprisHooks hooks, const std::string& bus_name,
                           bool debug_log)
    : controls_(controls), hooks_(std::move(hooks)), debug_log_(debug_log) {
  node_info_.reset(g_dbus_node_info_new_for_xml(kIntrospection, nullptr));
  owner_id_ = g_bus_own_name(G_BUS_TYPE_SESSION, bus_name.c_str(), G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
                             OnBusAcquired, OnNameAcquired, OnNameLost, this, nullptr);
}

MprisService::~MprisService() {
  for (guint& registration : registrations_) {
    if (registration != 0) g_dbus_connection_unregister_object(connection_, registration);
  }
  if (owner_id_ != 0) g_bus_unown_name(owner_id_);
  if (connection_ != nullptr) g_object_unref(connection_);
}

void MprisService::OnBusAcquired(GDBusConnection* connection, const gchar* /*name*/, gpointer data) {
  auto* self = static_cast<MprisService*>(data);
  static const GDBusInterfaceVTable kVTable = {OnMethodCall, OnGetProperty, OnSetProperty, {}};
  self->connection_ = G_DBUS_CONNECTION(g_object_ref(connection));
  for (int i = 0; i < 2; ++i) {
    self->registrations_[i] = g_dbus_connection_register_object(
        connection, kObjectPath, self->node_info_->interfaces[i], &kVTable, self, nullptr, nullptr);
  }
}

void MprisService::OnNameAcquired(GDBusConnection* /*connection*/, const gchar* /*name*/, gpointer data) {
  auto* self = static_cast<MprisService*>(data);
  self->name_owned_ = true;
  // The desktop reads the state when the name appears; later polls tell it
  // only what changed from here.
  self->controls_.Poll(MonotonicMs());
}

void MprisService::OnNameLost(GDBusConnection* connection, const gchar* name, gpointer data) {
  auto* self = static_cast<MprisService*>(data);
  if (!self->name_owned_ && connection == nullptr) {
    self->Log("no session bus: the desktop's media controls are off");
  } else if (!self->name_owned_) {
    const std::string line =
        std::string(name) + " is held by another program: the desktop's media controls are off";
    self->Log(line.c_str());
  }
  self->name_owned_ = false;
}

void MprisService::Log(const char* text) const {
  if (debug_log_) std::fprintf(stderr, "taviro: %s\n", text);
}

void MprisService::OnMethodCall(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                const gchar* /*path*/, const gchar* interface, const gchar* method,
                                GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
  auto* self = static_cast<MprisService*>(data);
  // The caller gets its answer first: Next and Previous may wait on the
  // service for the episode.
  g_dbus_method_invocation_return_value(invocation, nullptr);
  const std::string name = method;
  if (std::string_view(interface) == kRootInterface) {
    if (name == "Raise" && self->hooks_.raise) {
      self->controls_.Raise();
      self->hooks_.raise();
    } else if (name == "Quit" && self->hooks_.quit) {
      self->hooks_.quit();
      return;
    }
  } else {
    self->RunPlayerMethod(name, parameters);
  }
  self->Publish(MonotonicMs());
}

void MprisService::RunPlayerMethod(const std::string& method, GVariant* parameters) {
  if (method == "PlayPause") {
    controls_.PlayPause();
  } else if (method == "Play") {
    controls_.Play();
  } else if (method == "Pause") {
    controls_.Pause();
  } else if (method == "Stop") {
    controls_.Stop();
  } else if (method == "Next") {
    controls_.Next();
  } else if (method == "Previous") {
    controls_.Previous();
  } else if (method == "Seek") {
    gint64 offset = 0;
    g_variant_get(parameters, "(x)", &offset);
    controls_.Seek(offset);
  } else if (method == "SetPosition") {
    const gchar* track = nullptr;
    gint64 position = 0;
    g_variant_get(parameters, "(&ox)", &track, &position);
    controls_.SetPosition(track, position);
  } else if (method == "OpenUri" && hooks_.open_files) {
    const gchar* uri = nullptr;
    g_variant_get(parameters, "(&s)", &uri);
    const std::vector<std::string> paths = LocalPathsOfUriList(uri);
    if (!paths.empty()) hooks_.open_files(paths);
  }
}

GVariant* MprisService::OnGetProperty(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                      const gchar* /*path*/, const gchar* /*interface*/,
                                      const gchar* property, GError** /*error*/, gpointer data) {
  return PropertyValue(property, static_cast<MprisService*>(data)->controls_);
}

gboolean MprisService::OnSetProperty(GDBusConnection* /*connection*/, const gchar* /*sender*/,
                                     const gchar* /*path*/, const gchar* /*interface*/, const gchar* property,
                                     GVariant* value, GError** /*error*/, gpointer data) {
  auto* self = static_cast<MprisService*>(data);
  const std::string_view name = property;
  if (name == "Volume") {
    self->controls_.SetVolume(g_variant_get_double(value));
  } else if (name == "Rate") {
    self->controls_.SetRate(g_variant_get_double(value));
  }
  self->Publish(MonotonicMs());
  return TRUE;
}

void MprisService::Publish(std::int64_t now_ms) {
  if (!name_owned_ || connection_ == nullptr) return;
  EmitChanges(controls_.Poll(now_ms));
}

void MprisService::EmitChanges(const MediaControlsUpdate& update) {
  if (!update.changed.empty()) {
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
    for (MediaProperty property : update.changed) {
      const std::string name(MediaPropertyName(property));
      g_variant_builder_add(&changed, "{sv}", name.c_str(), PropertyValue(name, controls_));
    }
    g_dbus_connection_emit_signal(connection_, nullptr, kObjectPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged",
                                  g_variant_new("(sa{sv}as)", kPlayerInterface, &changed, nullptr), nullptr);
  }
  if (update.seeked_us) {
    g_dbus_connection_emit_signal(connection_, nullptr, kObjectPath, kPlayerInterface, "Seeked",
                                  g_variant_new("(x)", static_cast<gint64>(*update.seeked_us)), nullptr);
  }
}

}  // namespace taviro
