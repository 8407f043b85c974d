#include "platform/linux/gtk/desktop_app.h"

#include "platform/linux/gtk/player_probe.h"

#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/setting_keys.h"
#include "app/start_program.h"
#include "platform/linux/system/system_clock.h"
#include "platform/linux/system/system_network_adapters.h"
#include "services/installation_identity.h"
#include "ui/main/catalogue_events.h"
#include "ui/main/main_window_load.h"
#include "ui/main/tray_controller.h"

namespace taviro::gtk {
namespace {

bool DebugLog() { return std::getenv("TAVIRO_DEBUG") != nullptr; }

std::string MakeIdentity() {
  SystemNetworkAdapters adapters;
  SystemClock clock;
  return MakeInstallationIdentity(adapters, clock);
}

}  // namespace

DesktopApp::DesktopApp(DesktopConfig config)
    : config_(std::move(config)),
      metrics_reference_(GObjectPtr<GtkWidget>::Retain(gtk_label_new(""))),
      metrics_(metrics_reference_.get()),
      list_views_(web_),
      lists_(config_.app_folder, list_views_) {
  tray_ = std::make_unique<StatusIconTray>(
      skins_.Extra(ExtraPicture::kIconSmall),
      [this] {
        OnTrayLeftClick(*window_);
        controller_->Refresh();
      },
      [this] { OnTrayRightClick(*window_); });
  const WindowPorts ports{host_, prompt_, *tray_, web_, skins_, menus_, metrics_, player_};
  window_ = std::make_unique<MainWindow>(ports, config_.app_folder / kConfigFileName, config_.service_base_url);
  control_bar_ = std::make_unique<ControlBar>(*window_);
  window_->callbacks.control_bar = control_bar_.get();
  window_->callbacks.ttt_v = [this] { Quit(); };
  controller_ = std::make_unique<MainWindowController>(*window_);
}

DesktopApp::~DesktopApp() {
  for (guint source : signal_sources_) {
    if (source != 0) {
      g_source_remove(source);
    }
  }
  // The view's widgets hold the web views; they go before the core they call.
  view_.reset();
}

int DesktopApp::Run() {
  const StartProgramEnv start{config_.app_folder, prompt_, launcher_, lists_,
                              PlayerLibraryAvailable, MakeIdentity, config_.player_download_url};
  if (StartProgram(start) == StartOutcome::kEnd) {
    return 0;
  }
  BuildWindow();
  const MainWindowLoad load{instances_, config_.command_line, config_.app_folder, {}};
  if (LoadMainWindow(*window_, load) == LoadOutcome::kHandedOff) {
    return 0;
  }
  controller_->Refresh();
  gtk_window_present(view_->window());
  signal_sources_[0] = g_unix_signal_add(SIGTERM, OnTerminateSignal, this);
  signal_sources_[1] = g_unix_signal_add(SIGINT, OnTerminateSignal, this);
  gtk_main();
  return 0;
}

void DesktopApp::BuildWindow() {
  view_ = std::make_unique<MainWindowView>(window_->model, skins_, *controller_);
  controller_->AttachView(*view_);
  host_.Attach(view_->window());
  host_.SetEmulatedStateHandler([this](WindowState state) { controller_->OnStateChanged(state); });
  prompt_.SetParent(view_->window());
  menus_.SetAnchor(GTK_WIDGET(view_->window()));
  menus_.AddItem(PopupMenu::r_m, "退出", [this] { window_->Quit(); });
  if (GdkPixbuf* icon = skins_.Extra(ExtraPicture::kIcon)) {
    gtk_window_set_icon(view_->window(), icon);
  }
  for (int number = 1; number <= 11; ++number) {
    view_->AttachRegionWidget(Web(number), web_.Native(number).widget());
  }
  WireWebViews();
}

void DesktopApp::WireWebViews() {
  for (int number = 1; number <= 11; ++number) {
    WebViewHandlers handlers;
    handlers.download_complete = [this, number] { OnViewLoaded(number); };
    handlers.navigate_error = [this, number](const std::string& uri, int /*status*/) { OnViewFailed(number, uri); };
    web_.View(number).SetHandlers(std::move(handlers));
  }
}

void DesktopApp::OnViewLoaded(int number) {
  if (number == 1) {
    OnCatalogueLoaded(*window_);
    controller_->Refresh();
    if (window_->model.CatalogueError == 1) {
      return;
    }
  }
  if (DebugLog()) {
    std::fprintf(stderr, "taviro: Web%d loaded\n", number);
  }
}

void DesktopApp::OnViewFailed(int number, const std::string& uri) {
  if (number == 1) {
    OnCatalogueNavigateError(*window_, uri);
  } else if (number == 7 || number == 8) {
    OnAdvertNavigateError(*window_, number);
  }
  controller_->Refresh();
}

// The quit routine: what the program holds is put away before the loop ends.
void DesktopApp::Quit() {
  if (quitting_) {
    return;
  }
  quitting_ = true;
  RemoveTrayIcon(*window_);
  if (view_ != nullptr) {
    gtk_widget_hide(GTK_WIDGET(view_->window()));
  }
  gtk_main_quit();
}

gboolean DesktopApp::OnTerminateSignal(gpointer data) {
  auto* self = static_cast<DesktopApp*>(data);
  self->signal_sources_[0] = 0;
  self->signal_sources_[1] = 0;
  self->Quit();
  return G_SOURCE_REMOVE;
}

}  // namespace taviro::gtk
