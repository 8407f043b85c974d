#include "linux/gtk/desktop_integration.h"

#include "app/hand_off_paths.h"
#include "app/open_local_files.h"

namespace taviro::gtk {
namespace {

constexpr const char* kBusName = "org.mpris.MediaPlayer2.taviro";
constexpr int kPublishIntervalMs = 500;

std::int64_t MonotonicMs() { return g_get_monotonic_time() / 1000; }

}  // namespace

DesktopIntegration::DesktopIntegration(GtkWindow* window, const std::vector<GtkWidget*>& web_views,
                                       PlaybackContext& playback, PlayerDetails* details,
                                       TimerScheduler& scheduler, std::function<void()> quit, bool debug_log)
    : window_(window),
      playback_(playback),
      controls_(playback, details),
      mpris_(controls_,
             MprisHooks{[this] { gtk_window_present(window_); }, std::move(quit),
                        [this](const std::vector<std::string>& paths) { OpenFiles(paths); }},
             kBusName, debug_log),
      publish_timer_(scheduler, kPublishIntervalMs, true, [this] { mpris_.Publish(MonotonicMs()); }) {
  for (GtkWidget* view : web_views) {
    gtk_drag_dest_unset(view);
  }
  GtkWidget* target = GTK_WIDGET(window_);
  gtk_drag_dest_set(target, GTK_DEST_DEFAULT_ALL, nullptr, 0, GDK_ACTION_COPY);
  gtk_drag_dest_add_uri_targets(target);
  drop_handler_ = g_signal_connect(target, "drag-data-received", G_CALLBACK(OnDragDataReceived), this);
}

DesktopIntegration::~DesktopIntegration() {
  if (drop_handler_ != 0) g_signal_handler_disconnect(window_, drop_handler_);
}

void DesktopIntegration::OnDragDataReceived(GtkWidget* /*widget*/, GdkDragContext* /*context*/, gint /*x*/,
                                            gint /*y*/, GtkSelectionData* data, guint /*info*/,
                                            guint /*time*/, gpointer self) {
  const guchar* bytes = gtk_selection_data_get_data(data);
  const gint length = gtk_selection_data_get_length(data);
  if (bytes == nullptr || length <= 0) return;
  const std::string uri_list(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
  const std::vector<std::string> paths = LocalPathsOfUriList(uri_list);
  if (!paths.empty()) static_cast<DesktopIntegration*>(self)->OpenFiles(paths);
}

void DesktopIntegration::OpenFiles(const std::vector<std::string>& paths) {
  OpenLocalFiles(playback_, paths);
  mpris_.Publish(MonotonicMs());
}

}  // namespace taviro::gtk
