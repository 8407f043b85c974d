#include "linux/gtk/online_services.h"

#include "linux/gtk/main_window_view.h"
#include "linux/system/curl_http_client.h"
#include "window/main_window.h"

namespace taviro::gtk {

OnlineServices::OnlineServices(const OnlineServicesPorts& ports)
    : ports_(ports), fetcher_(std::make_unique<BackgroundFetcher>(std::make_shared<CurlHttpClient>())) {
  MainWindow& window = ports_.window;

  promotion_view_ = std::make_unique<PromotionView>(ports_.related_view);
  promotion_ =
      std::make_unique<PromotionWindow>(ports_.scheduler, state_, *promotion_view_, window.ServiceBaseUrl);
  promotion_view_->SetCloseHandler([this] { promotion_->Close(); });

  notice_window_ = std::make_unique<NoticeWindow>(ports_.related_view);
  notice_ =
      std::make_unique<PopupNotice>(ports_.scheduler, *fetcher_, *notice_window_, window.ServiceBaseUrl);
  notice_window_->SetHandlers([this] { notice_->OnPageComplete(); }, [this] { notice_->Hide(); },
                              [this] { notice_->Hide(); });

  ticker_ = std::make_unique<NewsTicker>(
      ports_.scheduler, NewsTicker::Env{*fetcher_, ports_.uris, window.ServiceBaseUrl,
                                        [&window] { return window.model[RegionId::La_0].rect.top; }});
  ticker_view_ = std::make_unique<NewsTickerView>(ports_.view.Widget(RegionId::bo_foot), *ticker_);

  switch_check_ = std::make_unique<SwitchCheck>(
      ports_.scheduler, SwitchCheckEnv{window.model, state_, *fetcher_, MakeUpdateEnv(),
                                       [this] { notice_->Load(); }, [this] { ticker_->FetchAndStart(); }});
}

OnlineServices::~OnlineServices() { fetcher_.reset(); }

void OnlineServices::ClearNewsHover() { ticker_->ClearHover(); }

UpdateEnv OnlineServices::MakeUpdateEnv() {
  MainWindow& window = ports_.window;
  return UpdateEnv{window.ports.prompt,   ports_.programs,       ports_.uris,
                   ports_.program_folder, window.ServiceBaseUrl, [&window] { window.Quit(); }};
}

void OnlineServices::CheckForUpdate() { taviro::CheckForUpdate(state_, MakeUpdateEnv()); }

void OnlineServices::UnloadNotice() {
  if (notice_->Loaded()) notice_->Unload();
}

}  // namespace taviro::gtk
