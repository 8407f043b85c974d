#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "http/catalogue.h"

namespace taviro::demo {

// The switch file, headlines and notice schedule as served now: they start
// as the catalogue says and a test changes them through "/__switches".
// Shared by the request threads.
class SwitchBoard {
 public:
  explicit SwitchBoard(const Catalogue& catalogue);

  // Applies "name=value" settings: exit_promotion, notice, pause_panel,
  // ticker, player_panel, version (texts as served), all (the five
  // switches at once), headlines (serve only the first N), notice_delay,
  // notice_stay, notice_repeat (numbers). Nothing is changed and the
  // offending name is returned when any setting is unknown or malformed.
  std::optional<std::string> Apply(const std::vector<std::pair<std::string, std::string>>& settings);

  Switches switches();
  std::vector<Headline> headlines();
  NoticeSchedule notices();

 private:
  std::mutex mutex_;
  Switches switches_;
  std::vector<Headline> headlines_;
  std::size_t headline_limit_ = static_cast<std::size_t>(-1);
  NoticeSchedule notices_;
};

}  // namespace taviro::demo
