#include "linux/gtk/desktop_app.h"

#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/command_line_files.h"
#include "app/command_line_handoff.h"
#include "app/main_window_load.h"
#include "app/open_local_files.h"
#include "app/start_program.h"
#include "linux/mpv/mpv_probe.h"
#include "linux/system/logind_shutdown.h"
#include "linux/system/system_clock.h"
#include "linux/system/system_network_adapters.h"
#include "playback/vendor_processes.h"
#include "services/installation_identity.h"
#include "services/service_address.h"
#include "settings/setting_keys.h"
#include "window/catalogue_events.h"
#include "window/tray_controller.h"
#include "window/window_state.h"

namespace taviro::gtk {
namespace {

bool DebugLog() { return std::getenv("TAVIRO_DEBUG") != nullptr; }

// The local episode-list page, compiled into the program.
std::string LoadEpisodePageTemplate() {
  GBytes* bytes = g_resources_lookup_data("/org/taviro/pages/t.htm", G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
  if (bytes == nullptr) {
    return {};
  }
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
  std::string text(data, size);
  g_bytes_unref(bytes);
  return text;
}

mpv::MpvPlayerOptions PlayerOptions(DownloadHelperClient& helper) {
  mpv::MpvPlayerOptions options;
  options.helper = &helper;
  if (DebugLog()) {
    // TAVIRO_MPV_LOG picks libmpv's detail ("v", "debug"); warnings otherwise.
    const char* wanted = std::getenv("TAVIRO_MPV_LOG");
    options.log_level = wanted != nullptr && *wanted != '\0' ? wanted : "warn";
    options.log = [](std::string_view level, std::string_view prefix, std::string_view text) {
      std::fprintf(stderr, "taviro: mpv %.*s %.*s: %.*s", static_cast<int>(level.size()), level.data(),
                   static_cast<int>(prefix.size()), prefix.data(), static_cast<int>(text.size()),
                   text.data());
    };
  }
  return options;
}

// The user's pictures folder as `xdg-user-dir PICTURES` names it: the home
// folder when none is set.
std::filesystem::path PicturesFolder() {
  const char* pictures = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
  return pictures != nullptr ? pictures : g_get_home_dir();
}

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
      helper_link_(config_.program_folder, config_.app_folder, config_.service_base_url),
      shutdown_(ConnectSystemShutdown()),
      list_views_(web_),
      lists_(config_.app_folder, list_views_) {
  web_.SetServiceBase(config_.service_base_url);
  mpv_player_ = mpv::MpvPlayer::Create(PlayerOptions(helper_link_.client));
  player_ = std::make_unique<ReportingPlayerControl>(
      mpv_player_ != nullptr ? static_cast<PlayerControl&>(*mpv_player_) : idle_player_, DebugLog());
  tray_ = std::make_unique<DesktopTray>(
      skins_.Extra(ExtraPicture::kIconSmall),
      DesktopTray::Handlers{[this] { OnTrayLeftClick(*window_); }, [this] { OnTrayRightClick(*window_); },
                            [this] { ShowFromTray(*window_); },
                            [this] {
                              // Before start-up shows the window, its being hidden means nothing.
                              if (window_presented_) OnTrayReachChanged(*window_);
                            }});
  const WindowPorts ports{host_, prompt_, *tray_, web_, skins_, menus_, metrics_, *player_};
  window_ =
      std::make_unique<MainWindow>(ports, config_.app_folder / kConfigFileName, config_.service_base_url);
  window_->callbacks.quit_program = [this] { Quit(); };
  if (config_.own_service) {
    window_->callbacks.start_service = [this] { StartOwnService(); };
  }
  events_ = std::make_unique<WindowEvents>(*window_);
  BuildPlayback();
}

DesktopApp::~DesktopApp() {
  for (guint source : signal_sources_) {
    if (source != 0) {
      g_source_remove(source);
    }
  }
  instance_watch_.reset();
  integration_.reset();
  services_.reset();
  // The view's widgets hold the web views; they go before the core they call.
  view_.reset();
}

void DesktopApp::BuildPlayback() {
  episodes_ = std::make_unique<BackgroundFetcher>(std::make_shared<CurlHttpClient>(),
                                                  BackgroundFetcher::Order::kSideBySide);
  playback_ = std::make_unique<PlaybackContext>(PlaybackContext{
      *window_, now_, lists_, *episodes_, processes_, programs_, PlaybackTimers{timer1_, timer2_, timer4_},
      config_.app_folder, helper_link_.folder,
      config_.service_base_url.empty() ? std::string() : EndOfPlayAddress(config_.service_base_url)});
  router_ = std::make_unique<LinkRouter>(*playback_, LoadEpisodePageTemplate());
  resolver_ = std::make_unique<EpisodeResolver>(*playback_);
  poller_ = std::make_unique<StatusPoller>(*playback_, *resolver_, *shutdown_, clock_);
  control_bar_ = std::make_unique<ControlBar>(*playback_, file_dialog_,
                                              [this](int direction) { resolver_->StepEpisode(direction); });
  list_commands_ = std::make_unique<ListCommands>(*playback_, launcher_);
  PlayerExtras& extras =
      mpv_player_ != nullptr ? mpv_player_->extras() : static_cast<PlayerExtras&>(idle_extras_);
  choices_ = std::make_unique<MediaChoices>(
      MediaChoicesPorts{*player_, extras, file_dialog_, *tray_, clock_},
      MediaChoicesConfig{config_.app_folder / "track_choice.dat", PicturesFolder(), DebugLog()});
  playback_->choices = choices_.get();
  window_->callbacks.control_bar = control_bar_.get();
  timer1_.SetHandler([this] { poller_->Tick(); });
  timer2_.SetHandler([this] { poller_->HandleEndOfPlay(); });
  timer3_.SetHandler([this] {
    timer3_.SetEnabled(false);
    CheckVendorProcesses(*playback_);
  });
  timer4_.SetHandler([this] { resolver_->RetryNextEpisode(); });
  events_->AttachPlayback(*playback_, *control_bar_, *list_commands_);
}

int DesktopApp::Run() {
  // A second start hands its command line over before it builds anything.
  if (instances_.HandToRunningInstance(
          EncodeHandOff({config_.working_folder, config_.command_line, config_.activation_token}))) {
    return 0;
  }
  if (config_.own_service) {
    StartOwnService();
  }
  mpv::MpvProbe player_probe(mpv_player_ != nullptr);
  const StartProgramEnv start{.app_folder = config_.app_folder,
                              .prompt = prompt_,
                              .launcher = launcher_,
                              .lists = lists_,
                              .player = player_probe,
                              .make_identity = MakeIdentity,
                              .player_download_url = config_.player_download_url,
                              .owns_instance = instances_.ListeningFd() >= 0};
  if (StartProgram(start) == StartOutcome::kEnd ||
      CheckWindowPlayer(mpv_player_ != nullptr, player_probe, prompt_) == StartOutcome::kEnd) {
    return 0;
  }
  BuildWindow();
  // A file from the command line plays once the player's video area is
  // realized inside the window: the picture's render path is chosen then.
  std::string start_command;
  const MainWindowLoad load{instances_,
                            config_.command_line,
                            config_.working_folder,
                            config_.app_folder,
                            [&start_command](const std::string& text) { start_command = text; },
                            config_.activation_token};
  if (LoadMainWindow(*window_, load) == LoadOutcome::kHandedOff) {
    return 0;
  }
  instance_watch_ = std::make_unique<InstanceSocketWatch>(instances_, [this](const std::string& text) {
    HandOffMessage message = DecodeHandOff(text);
    message.command_line = WithoutRefusedFiles(message.command_line, message.working_folder);
    ReceiveHandOff(*playback_, EncodeHandOff(message), [this] { timer3_.SetEnabled(true); });
    // Shown again, the window takes the launcher's token: the window
    // manager (or the Wayland compositor) then lets it come to the front,
    // and the launcher's busy cursor ends.
    if (!message.activation_token.empty()) {
      gtk_window_set_startup_id(view_->window(), message.activation_token.c_str());
    }
  });
  StartDesktopIntegration();
  window_loaded_ = true;
  if (!window_->ServiceBaseUrl.empty()) {
    StartOnlineServices();
  } else if (service_failed_) {
    ShowCatalogueFailed(*window_);
  }
  SyncViews();
  // Through the window's rules, so that they know it is shown.
  SetWindowShown(*window_, true);
  window_presented_ = true;
  if (!start_command.empty()) {
    if (mpv_player_ != nullptr) {
      gtk_widget_realize(mpv_player_->VideoWidget());
    }
    OpenCommandLine(*playback_, WithoutRefusedFiles(start_command, config_.working_folder),
                    config_.working_folder);
  }
  signal_sources_[0] = g_unix_signal_add(SIGTERM, OnTerminateSignal, this);
  signal_sources_[1] = g_unix_signal_add(SIGINT, OnTerminateSignal, this);
  gtk_main();
  return 0;
}

std::string DesktopApp::WithoutRefusedFiles(const std::string& command_line,
                                            const std::string& working_folder) {
  const ScreenedCommandLine screened = ScreenCommandLine(command_line, working_folder);
  ShowRefusedFiles(*window_, screened.refused);
  return screened.command_line;
}

void DesktopApp::StartDesktopIntegration() {
  std::vector<GtkWidget*> web_views;
  for (int number = 1; number <= 11; ++number) {
    web_views.push_back(web_.Native(number).widget());
  }
  integration_ = std::make_unique<DesktopIntegration>(
      view_->window(), web_views, *playback_, mpv_player_.get(), scheduler_, [this] { window_->Quit(); },
      DebugLog());
}

void DesktopApp::BuildWindow() {
  view_ = std::make_unique<MainWindowView>(window_->model, skins_, *events_);
  host_.Attach(view_->window());
  host_.SetEmulatedStateHandler([this](WindowState state) { events_->StateChanged(state); });
  prompt_.SetParent(view_->window());
  file_dialog_.SetParent(view_->window());
  BuildMenus();
  if (GdkPixbuf* icon = skins_.Extra(ExtraPicture::kIcon)) {
    gtk_window_set_icon(view_->window(), icon);
  }
  for (int number = 1; number <= 11; ++number) {
    view_->AttachRegionWidget(Web(number), web_.Native(number).widget());
  }
  if (mpv_player_ != nullptr) {
    view_->AttachRegionWidget(RegionId::QvodC, mpv_player_->VideoWidget());
    mpv_player_->SetStateChangedHandler([this] { poller_->OnPlayerStateChanged(); });
  }
  WireWebViews();
  timer1_.SetEnabled(true);
  timer3_.SetEnabled(true);
}

void DesktopApp::BuildMenus() {
  menus_and_settings_ = std::make_unique<MenusAndSettings>(MenusAndSettingsEnv{
      *window_, menus_, *list_commands_, skins_, processes_, programs_, launcher_, prompt_, config_.site_url,
      // The online services come later, once the window has loaded.
      [this] {
        if (services_) services_->CheckForUpdate();
      },
      choices_.get()});
  menus_and_settings_->Build(view_->window());
  tray_->SetMenu(menus_.Widget(PopupMenu::r_m));
}

void DesktopApp::WireWebViews() {
  web_routing_ = std::make_unique<WebViewRouting>(
      WebViewRouting{*window_, *router_, *list_commands_, [](std::string_view line) {
                       if (DebugLog()) {
                         std::fprintf(stderr, "taviro: %.*s\n", static_cast<int>(line.size()), line.data());
                       }
                     }});
  for (int number = 1; number <= 11; ++number) {
    web_.Native(number).SetHandlers(RouteWebView(static_cast<WebViewRole>(number), *web_routing_));
  }
}

void DesktopApp::StartOwnService() {
  if (own_service_ == nullptr) {
    std::vector<std::string> arguments = config_.service_arguments;
    own_service_ = std::make_unique<OwnServiceProcess>(
        config_.program_folder / "taviro-service", std::move(arguments),
        OwnServiceProcess::Handlers{[this](const std::string& base) { ApplyServiceBase(base); },
                                    [this](const std::string& why) { OnServiceFailed(why); }});
  }
  service_failed_ = false;
  own_service_->Start();
}

void DesktopApp::ApplyServiceBase(const std::string& base) {
  if (DebugLog()) {
    std::fprintf(stderr, "taviro: own service at %s\n", base.c_str());
  }
  window_->ServiceBaseUrl = base;
  playback_->sentinel_url = EndOfPlayAddress(base);
  helper_link_.client.SetServiceBase(base);
  web_.SetServiceBase(base);
  if (window_loaded_) {
    LoadServiceViews(*window_);
    StartOnlineServices();
  }
}

// Said on stderr whatever the log setting: without it the catalogue stays
// empty for no reason the user could find.
void DesktopApp::OnServiceFailed(const std::string& why) {
  std::fprintf(stderr, "taviro: the catalogue's service: %s\n", why.c_str());
  window_->ServiceBaseUrl.clear();
  service_failed_ = true;
  if (window_loaded_) {
    ShowCatalogueFailed(*window_);
  }
}

void DesktopApp::StartOnlineServices() {
  if (services_ != nullptr) {
    return;
  }
  services_ = std::make_unique<OnlineServices>(OnlineServicesPorts{
      *window_, *view_, web_.Native(1).view(), scheduler_, programs_, launcher_, config_.program_folder});
  window_->callbacks.clear_news_hover = [this] {
    if (services_) services_->ClearNewsHover();
  };
}

// Every view the core's models drive; each applies only what changed.
void DesktopApp::SyncViews() {
  if (view_ != nullptr) view_->Sync();
  if (menus_and_settings_ != nullptr) menus_and_settings_->SyncDialog();
  menus_.Sync();
  if (services_ != nullptr) services_->SyncTicker();
}

// The quit routine: what the program holds is put away before the loop ends.
void DesktopApp::Quit() {
  if (quitting_) {
    return;
  }
  quitting_ = true;
  QuitHooks hooks;
  hooks.close_windows = [this] {
    if (menus_and_settings_ != nullptr) {
      menus_and_settings_->CloseDialog();
    }
    if (view_ != nullptr) {
      gtk_widget_hide(GTK_WIDGET(view_->window()));
    }
    if (services_ != nullptr) {
      services_->UnloadNotice();
    }
  };
  // The run ends when the promotion window closes, or at once without one.
  hooks.finish_run = [this] {
    if (services_ != nullptr && services_->exit_promotion().Wanted()) {
      services_->exit_promotion().Show([] { gtk_main_quit(); });
    } else {
      gtk_main_quit();
    }
  };
  QuitProgram(*window_, processes_, playback_->helper_folder, hooks);
}

gboolean DesktopApp::OnTerminateSignal(gpointer data) {
  auto* self = static_cast<DesktopApp*>(data);
  self->signal_sources_[0] = 0;
  self->signal_sources_[1] = 0;
  self->Quit();
  return G_SOURCE_REMOVE;
}

}  // namespace taviro::gtk
