#include "services/news_ticker.h"

#include "ports/text_fetcher.h"
#include "ports/uri_launcher.h"
#include "services/headline_file.h"
#include "util/ansi_text.h"

namespace taviro {
namespace {

constexpr int kHoldMs = 5000;
constexpr int kRiseStep = 2;

}  // namespace

NewsTicker::NewsTicker(TimerScheduler& scheduler, Env env)
    : env_(std::move(env)), timerg_(scheduler, kTimergIntervalMs, false, [this] { OnTimerg(); }) {}

void NewsTicker::FetchAndStart() {
  env_.fetcher.Fetch(env_.service_base_url + "lib/gun.txt",
                     [this](const std::string& body) { Load(DecodeAnsi(body)); });
}

void NewsTicker::Load(std::string_view text) {
  const std::vector<Headline> headlines = ParseHeadlines(text);
  if (headlines.empty()) return;
  hold_ms_ = kHoldMs;
  rest_top_ = env_.label0_top ? env_.label0_top() : 0;
  labels_.resize(headlines.size());
  links_.clear();
  for (std::size_t k = 0; k < headlines.size(); ++k) {
    labels_[k].caption = headlines[k].text;
    labels_[k].top = rest_top_ + kTickerRise;
    links_.push_back(headlines[k].link);
  }
  last_ = static_cast<int>(headlines.size()) - 1;
  if (last_ == 0) {
    labels_[0].left = kTickerLeft;
    labels_[0].top = kSingleHeadlineTop;
    labels_[0].visible = true;
    return;
  }
  timerg_.SetEnabled(true);
}

void NewsTicker::OnTimerg() {
  TickerLabel& label = labels_[static_cast<std::size_t>(index_)];
  label.visible = true;
  if (label.top > rest_top_) label.top -= kRiseStep;
  if (last_ == 0) {
    timerg_.SetEnabled(false);
  } else if (hold_ <= hold_ms_ / kTimergIntervalMs) {
    ++hold_;
  } else {
    hold_ = 0;
    if (hover_ != TickerHover::kHolding) {
      label.visible = false;
      label.top = rest_top_ + kTickerRise;
      index_ = index_ + 1 > last_ ? 0 : index_ + 1;
    }
  }
}

void NewsTicker::PointerOverLabel(int k) {
  if (hover_ == TickerHover::kClicked || k < 0 || k >= static_cast<int>(labels_.size())) return;
  labels_[static_cast<std::size_t>(k)].underlined = true;
  hover_ = TickerHover::kHolding;
}

void NewsTicker::ClickLabel(int k) {
  if (k >= 0 && k < static_cast<int>(links_.size())) {
    const std::string& link = links_[static_cast<std::size_t>(k)];
    if (OpensInBrowser(link)) env_.uris.Open(link);
  }
  labels_[static_cast<std::size_t>(index_)].underlined = false;
  hover_ = TickerHover::kClicked;
}

void NewsTicker::PointerOverBar() {
  labels_[static_cast<std::size_t>(index_)].underlined = false;
  hover_ = TickerHover::kNone;
}

}  // namespace taviro
