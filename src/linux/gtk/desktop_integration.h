#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "linux/mpris/mpris_service.h"
#include "playback/media_controls.h"
#include "util/timer.h"

namespace taviro {
struct PlaybackContext;
class TimerScheduler;
class PlayerDetails;
}  // namespace taviro

namespace taviro::gtk {

// What a Linux desktop expects of a player beyond its window: the media
// controls on the session bus, and files dropped onto the window.
class DesktopIntegration {
 public:
  // `web_views` stop taking drops themselves, so a file dropped anywhere on
  // the window plays instead of replacing a page.
  // `details` (may be null) gives the media controls the player's own clock
  // and the file's tags.
  DesktopIntegration(GtkWindow* window, const std::vector<GtkWidget*>& web_views, PlaybackContext& playback,
                     PlayerDetails* details, TimerScheduler& scheduler, std::function<void()> quit,
                     bool debug_log);
  DesktopIntegration(const DesktopIntegration&) = delete;
  DesktopIntegration& operator=(const DesktopIntegration&) = delete;
  ~DesktopIntegration();

 private:
  static void OnDragDataReceived(GtkWidget* widget, GdkDragContext* context, gint x, gint y,
                                 GtkSelectionData* data, guint info, guint time, gpointer self);
  void OpenFiles(const std::vector<std::string>& paths);

  GtkWindow* window_;
  PlaybackContext& playback_;
  MediaControls controls_;
  MprisService mpris_;
  // The desktop hears of changes from anywhere (keys, clicks, the player)
  // within this time.
  Timer publish_timer_;
  gulong drop_handler_ = 0;
};

}  // namespace taviro::gtk
