#include "http/switch_board.h"

#include <charconv>

namespace taviro::demo {
namespace {

std::optional<int> Number(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

SwitchBoard::SwitchBoard(const Catalogue& catalogue)
    : switches_(catalogue.switches), headlines_(catalogue.headlines), notices_(catalogue.notices) {}

std::optional<std::string> SwitchBoard::Apply(
    const std::vector<std::pair<std::string, std::string>>& settings) {
  std::lock_guard lock(mutex_);
  Switches switches = switches_;
  std::size_t headline_limit = headline_limit_;
  NoticeSchedule notices = notices_;
  for (const auto& [name, value] : settings) {
    std::string* text = nullptr;
    if (name == "exit_promotion") text = &switches.exit_promotion;
    if (name == "notice") text = &switches.notice;
    if (name == "pause_panel") text = &switches.pause_panel;
    if (name == "ticker") text = &switches.ticker;
    if (name == "player_panel") text = &switches.player_panel;
    if (name == "version") text = &switches.version;
    if (text != nullptr) {
      *text = value;
      continue;
    }
    if (name == "all") {
      for (std::string* each : {&switches.exit_promotion, &switches.notice, &switches.pause_panel,
                                &switches.ticker, &switches.player_panel}) {
        *each = value;
      }
      continue;
    }
    const std::optional<int> number = Number(value);
    if (!number) return name;
    if (name == "headlines" && *number >= 0) {
      headline_limit = static_cast<std::size_t>(*number);
    } else if (name == "notice_delay") {
      notices.delay_seconds = *number;
    } else if (name == "notice_stay") {
      notices.stay_minutes = *number;
    } else if (name == "notice_repeat") {
      notices.repeat = *number;
    } else {
      return name;
    }
  }
  switches_ = switches;
  headline_limit_ = headline_limit;
  notices_ = notices;
  return std::nullopt;
}

Switches SwitchBoard::switches() {
  std::lock_guard lock(mutex_);
  return switches_;
}

std::vector<Headline> SwitchBoard::headlines() {
  std::lock_guard lock(mutex_);
  if (headline_limit_ >= headlines_.size()) return headlines_;
  return {headlines_.begin(), headlines_.begin() + static_cast<std::ptrdiff_t>(headline_limit_)};
}

NoticeSchedule SwitchBoard::notices() {
  std::lock_guard lock(mutex_);
  return notices_;
}

}  // namespace taviro::demo
