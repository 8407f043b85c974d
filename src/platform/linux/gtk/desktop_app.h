#pragma once

#include <gtk/gtk.h>

#include <filesystem>
#include <memory>
#include <string>

#include "lists/media_lists.h"
#include "platform/linux/idle_player_control.h"
#include "platform/instance_channel.h"
#include "platform/linux/gtk/desktop_launcher.h"
#include "platform/linux/gtk/gobject_ptr.h"
#include "platform/linux/gtk/gtk_menus.h"
#include "platform/linux/gtk/gtk_prompt.h"
#include "platform/linux/gtk/gtk_window_host.h"
#include "platform/linux/gtk/main_window_controller.h"
#include "platform/linux/gtk/main_window_view.h"
#include "platform/linux/gtk/pango_text_metrics.h"
#include "platform/linux/gtk/skin_picture_store.h"
#include "platform/linux/gtk/status_icon_tray.h"
#include "platform/linux/gtk/webkit_web_views.h"
#include "playback/control_bar.h"
#include "ui/main/main_window.h"
#include "ui/main/web_list_views.h"

namespace taviro::gtk {

struct DesktopConfig {
  std::filesystem::path app_folder;
  std::string command_line;
  std::string service_base_url;
  std::string player_download_url;
};

// The whole program on the desktop: every adapter, the core objects they
// serve, and their wiring. Members are declared in the order they are needed.
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
  void WireWebViews();
  void OnViewLoaded(int number);
  void OnViewFailed(int number, const std::string& uri);
  void Quit();
  static gboolean OnTerminateSignal(gpointer data);

  DesktopConfig config_;
  SkinPictureStore skins_;
  WebKitViewSet web_;
  GtkWindowHost host_;
  GtkPrompt prompt_;
  GtkMenus menus_;
  GObjectPtr<GtkWidget> metrics_reference_;
  PangoTextMetrics metrics_;
  IdlePlayerControl player_;
  DesktopLauncher launcher_;
  WebListViews list_views_;
  MediaLists lists_;
  std::unique_ptr<StatusIconTray> tray_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<ControlBar> control_bar_;
  std::unique_ptr<MainWindowController> controller_;
  std::unique_ptr<MainWindowView> view_;
  NoOtherInstance instances_;
  guint signal_sources_[2] = {0, 0};
  bool quitting_ = false;
};

}  // namespace taviro::gtk
