#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "channels/channel_list.h"

namespace taviro::channels {

// Seconds since 1970-01-01 UTC.
using UnixTime = std::int64_t;

// An XMLTV time, "20241209183000 +0800": year to second (minutes and
// seconds may be left off), then an optional offset from UTC; without one
// the time is UTC.
std::optional<UnixTime> ParseXmltvTime(std::string_view text);

struct NowAndNext {
  std::string title;  // empty when nothing is on now
  UnixTime ends = 0;
  std::string next_title;  // empty when the guide knows nothing later
  UnixTime next_starts = 0;
};

struct GuideLimits {
  UnixTime keep_before = 3600;      // programmes that ended longer ago are dropped
  UnixTime keep_after = 24 * 3600;  // and those that start later than this from `now`
  std::size_t max_programmes = 200'000;
  std::size_t max_per_channel = 1'000;
  std::size_t max_channels = 50'000;
};

// The programmes of a guide near `now`, fed one by one as the guide is read,
// so a guide of weeks for thousands of channels costs only the hours kept.
class ProgrammeGuide {
 public:
  explicit ProgrammeGuide(UnixTime now, GuideLimits limits = {});

  // A <channel id=…> with one of its <display-name>s.
  void AddChannelName(std::string_view guide_id, std::string_view display_name);
  // False when the programme lies outside the window, is malformed or does
  // not fit the limits.
  bool AddProgramme(std::string_view guide_id, std::string_view start, std::string_view stop,
                    std::string_view title);

  // The guide's channel for a list's channel: by tvg-id, then by name
  // (tvg-name, then the shown name) in any case and spacing; empty when none.
  std::string MatchChannel(const Channel& channel) const;
  std::optional<NowAndNext> Find(const Channel& channel, UnixTime now) const;

  std::size_t programme_count() const { return programme_count_; }

 private:
  struct Programme {
    UnixTime start;
    UnixTime stop;
    std::string title;
  };

  UnixTime from_;
  UnixTime to_;
  GuideLimits limits_;
  std::size_t programme_count_ = 0;
  std::unordered_map<std::string, std::vector<Programme>> programmes_;  // by guide id, sorted by start
  std::unordered_map<std::string, std::string> ids_by_name_key_;        // display names' keys
  std::unordered_map<std::string, std::string> ids_by_id_key_;
};

// The channel list's tooltip: what is on, the minutes left and what follows.
std::string GuideTooltip(const NowAndNext& guide, UnixTime now);

}  // namespace taviro::channels
