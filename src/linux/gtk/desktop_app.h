#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "linux/gtk/background_fetcher.h"
#include "linux/gtk/desktop_integration.h"
#include "linux/gtk/desktop_launcher.h"
#include "linux/gtk/desktop_tray.h"
#include "linux/gtk/download_helper_link.h"
#include "linux/gtk/glib_timer_scheduler.h"
#include "linux/gtk/gobject_ptr.h"
#include "linux/gtk/gtk_file_dialog.h"
#include "linux/gtk/gtk_menus.h"
#include "linux/gtk/gtk_prompt.h"
#include "linux/gtk/gtk_window_host.h"
#include "linux/gtk/main_window_view.h"
#include "linux/gtk/menus_and_settings.h"
#include "linux/gtk/online_services.h"
#include "linux/gtk/pango_text_metrics.h"
#include "linux/gtk/skin_picture_store.h"
#include "linux/gtk/webkit_web_views.h"
#include "linux/mpv/mpv_player.h"
#include "linux/system/curl_http_client.h"
#include "linux/system/instance_socket_watch.h"
#include "linux/system/own_service_process.h"
#include "linux/system/proc_process_table.h"
#include "linux/system/spawn_program_launcher.h"
#include "linux/system/system_clock.h"
#include "linux/system/unix_socket_instance.h"
#include "linux/system/view_dispatch.h"
#include "lists/media_lists.h"
#include "playback/control_bar.h"
#include "playback/episode_resolver.h"
#include "playback/idle_player_control.h"
#include "playback/idle_player_extras.h"
#include "playback/link_router.h"
#include "playback/list_commands.h"
#include "playback/media_choices.h"
#include "playback/now_playing.h"
#include "playback/playback_context.h"
#include "playback/reporting_player_control.h"
#include "playback/status_poller.h"
#include "ports/shutdown_backend.h"
#include "ui/web_list_views.h"
#include "ui/web_view_routing.h"
#include "ui/window_events.h"
#include "util/timer.h"
#include "window/main_window.h"

namespace taviro::gtk {

struct DesktopConfig {
  // Where the settings and lists are kept: the program's folder, or the
  // user's data folder when that cannot be written.
  std::filesystem::path app_folder;
  // The folder of the executable, whose Qvod/ subfolder holds the helper.
  std::filesystem::path program_folder;
  std::string command_line;
  // The folder the program was started from.
  std::string working_folder;
  // Empty when the program starts its own service, which tells it later.
  std::string service_base_url;
  std::string site_url;
  std::string player_download_url;
  // Start the service beside the program, with these arguments.
  bool own_service = false;
  std::vector<std::string> service_arguments;
  // XDG_ACTIVATION_TOKEN or DESKTOP_STARTUP_ID, read before GDK takes it.
  std::string activation_token;
};

// The whole program on the desktop: every adapter, the core objects they
// serve, and their wiring. Members are declared in the order they are needed
// and destroyed in the reverse order, so nothing calls an object that is gone.
class DesktopApp {
 public:
  explicit DesktopApp(DesktopConfig config);
  DesktopApp(const DesktopApp&) = delete;
  DesktopApp& operator=(const DesktopApp&) = delete;
  ~DesktopApp();

  // Runs start-up and the main loop; the process's exit code.
  int Run();

 private:
  void BuildWindow();
  void StartDesktopIntegration();
  // A start's command line without its paths that are no files to play; the
  // window tells its user of those.
  std::string WithoutRefusedFiles(const std::string& command_line, const std::string& working_folder);
  void BuildPlayback();
  void BuildMenus();
  void WireWebViews();
  // The program's own service: started beside the window, its address put
  // wherever the base URL is used once it is known.
  void StartOwnService();
  void ApplyServiceBase(const std::string& base);
  void OnServiceFailed(const std::string& why);
  // The switch file, news, notices and promotion, once the window has loaded
  // and the service's address is known.
  void StartOnlineServices();
  void Quit();
  void SyncViews();
  static gboolean OnTerminateSignal(gpointer data);

  DesktopConfig config_;
  UnixSocketInstance instances_;
  SkinPictureStore skins_;
  WebKitViewSet web_;
  GtkWindowHost host_;
  GtkPrompt prompt_;
  GtkMenus menus_;
  GtkFileDialog file_dialog_;
  GObjectPtr<GtkWidget> metrics_reference_;
  PangoTextMetrics metrics_;
  DownloadHelperLink helper_link_;
  std::unique_ptr<mpv::MpvPlayer> mpv_player_;
  IdlePlayerControl idle_player_;
  IdlePlayerExtras idle_extras_;
  std::unique_ptr<ReportingPlayerControl> player_;
  DesktopLauncher launcher_;
  ProcProcessTable processes_;
  SpawnProgramLauncher programs_;
  SystemClock clock_;
  std::unique_ptr<ShutdownBackend> shutdown_;
  WebListViews list_views_;
  MediaLists lists_;
  GLibTimerScheduler scheduler_;
  // Timer1 and Timer3 start with the window (BuildWindow): a prompt shown
  // before it, and the end that follows, must not check or start anything.
  Timer timer1_{scheduler_, 1000, false, {}};
  Timer timer2_{scheduler_, 2000, false, {}};
  Timer timer4_{scheduler_, 50000, false, {}};
  Timer timer3_{scheduler_, 10, false, {}};
  NowPlaying now_;
  std::unique_ptr<DesktopTray> tray_;
  bool window_presented_ = false;
  std::unique_ptr<MainWindow> window_;
  // Goes before the handlers its answers reach.
  std::unique_ptr<BackgroundFetcher> episodes_;
  std::unique_ptr<PlaybackContext> playback_;
  std::unique_ptr<LinkRouter> router_;
  std::unique_ptr<EpisodeResolver> resolver_;
  std::unique_ptr<StatusPoller> poller_;
  std::unique_ptr<ControlBar> control_bar_;
  std::unique_ptr<MediaChoices> choices_;
  std::unique_ptr<ListCommands> list_commands_;
  // The web views' handlers hold on to it.
  std::unique_ptr<WebViewRouting> web_routing_;
  std::unique_ptr<WindowEvents> events_;
  std::unique_ptr<MainWindowView> view_;
  std::unique_ptr<MenusAndSettings> menus_and_settings_;
  std::unique_ptr<InstanceSocketWatch> instance_watch_;
  std::unique_ptr<DesktopIntegration> integration_;
  std::unique_ptr<OnlineServices> services_;
  // Goes before what its handlers reach; closing it ends the service.
  std::unique_ptr<OwnServiceProcess> own_service_;
  bool window_loaded_ = false;
  bool service_failed_ = false;
  guint signal_sources_[2] = {0, 0};
  bool quitting_ = false;
  // Last, so it goes first: it reaches every view above.
  ViewDispatch views_{[this] { SyncViews(); }};
};

}  // namespace taviro::gtk
