#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "linux/gtk/background_fetcher.h"
#include "linux/gtk/news_ticker_view.h"
#include "linux/gtk/notice_window.h"
#include "linux/gtk/promotion_view.h"
#include "services/news_ticker.h"
#include "services/popup_notice.h"
#include "services/promotion_window.h"
#include "services/service_state.h"
#include "services/switch_check.h"

namespace taviro {
struct MainWindow;
class ProgramLauncher;
class TimerScheduler;
class UriLauncher;
}  // namespace taviro

namespace taviro::gtk {

class MainWindowView;

struct OnlineServicesPorts {
  MainWindow& window;
  MainWindowView& view;
  // A view whose web process the service's own views share.
  WebKitWebView* related_view;
  TimerScheduler& scheduler;
  ProgramLauncher& programs;
  UriLauncher& uris;
  std::filesystem::path program_folder;  // the executable's, where update.exe would be
};

// The service's switch file, news ticker, popup notice and promotion window
// on the desktop: the core objects, their windows and their wiring. Made
// once the main window has loaded; its timers start then.
class OnlineServices {
 public:
  explicit OnlineServices(const OnlineServicesPorts& ports);
  OnlineServices(const OnlineServices&) = delete;
  OnlineServices& operator=(const OnlineServices&) = delete;
  ~OnlineServices();

  ServiceState& state() { return state_; }
  // The quit routine's promotion window.
  ExitPromotion& exit_promotion() { return *promotion_; }
  // The quit routine puts the notice window away.
  void UnloadNotice();
  // The menu's "升级检测".
  void CheckForUpdate();
  void ClearNewsHover();
  void SyncTicker() { ticker_view_->Sync(); }

 private:
  UpdateEnv MakeUpdateEnv();

  OnlineServicesPorts ports_;
  ServiceState state_;
  std::unique_ptr<PromotionView> promotion_view_;
  std::unique_ptr<PromotionWindow> promotion_;
  std::unique_ptr<NoticeWindow> notice_window_;
  std::unique_ptr<PopupNotice> notice_;
  std::unique_ptr<NewsTicker> ticker_;
  std::unique_ptr<NewsTickerView> ticker_view_;
  std::unique_ptr<SwitchCheck> switch_check_;
  // Last, so it goes first: no reply arrives for an object that is gone.
  std::unique_ptr<BackgroundFetcher> fetcher_;
};

}  // namespace taviro::gtk
