#include "services/popup_notice.h"

#include "ports/text_fetcher.h"
#include "util/ansi_text.h"

namespace taviro {

PopupNotice::PopupNotice(TimerScheduler& scheduler, TextFetcher& fetcher, NoticeWindowPort& window,
                         std::string base_url)
    : fetcher_(fetcher),
      window_(window),
      base_url_(std::move(base_url)),
      timerc_(scheduler, kTimercIntervalMs, false, [this] { OnTimerc(); }),
      timert_(scheduler, kTimertIntervalMs, false, [this] { OnTimert(); }) {}

void PopupNotice::Load() {
  loaded_ = true;
  armed_ = false;
  index_ = 0;
  ticks_ = 0;
  window_.SetVisible(false);
  window_.Navigate("about:blank");
  ShowNextNotice();
}

void PopupNotice::ShowNextNotice() {
  fetcher_.Fetch(base_url_ + "lib/tan.txt", [this](const std::string& body) { Apply(DecodeAnsi(body)); });
}

void PopupNotice::Apply(std::string_view text) {
  if (!loaded_) return;
  std::optional<NoticeSchedule> schedule = ParseNoticeSchedule(text);
  // Without an address there is nothing to show: the window stays idle.
  if (!schedule || schedule->urls.empty()) return;
  schedule_ = std::move(*schedule);
  timerc_.SetEnabled(true);
}

void PopupNotice::OnTimerc() {
  if (++index_ < schedule_.delay) return;
  armed_ = true;
  window_.Navigate(schedule_.urls[0]);
  timerc_.SetEnabled(false);
  index_ = 0;
  if (schedule_.stay > 0) timert_.SetEnabled(true);
}

void PopupNotice::OnTimert() {
  if (++ticks_ < schedule_.stay) return;
  ++index_;
  if (index_ >= static_cast<int>(schedule_.urls.size())) {
    index_ = 0;
    if (schedule_.repeat != 1) {
      Unload();
      return;
    }
  }
  window_.SetVisible(false);
  window_.ShrinkView();
  window_.Navigate(schedule_.urls[static_cast<std::size_t>(index_)]);
  ticks_ = 0;
}

void PopupNotice::OnPageComplete() {
  if (!armed_) return;
  window_.MeasurePage([this](int width, int height) {
    if (!armed_) return;
    window_.Place(PlaceNotice(width, height, window_.WorkArea()));
    window_.SetVisible(true);
  });
}

void PopupNotice::Unload() {
  timerc_.SetEnabled(false);
  timert_.SetEnabled(false);
  loaded_ = false;
  armed_ = false;
  window_.Unload();
}

}  // namespace taviro
