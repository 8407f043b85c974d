#include "channels/programme_guide.h"

#include <algorithm>

#include "channels/channel_text.h"

namespace taviro::channels {
namespace {

constexpr std::size_t kMaxTitleBytes = 256;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

// The number written by `count` digits at `pos`, or -1.
int Digits(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<UnixTime> ParseXmltvTime(std::string_view text) {
  text = TrimBlanks(text);
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits != 8 && digits != 10 && digits != 12 && digits != 14) return std::nullopt;
  const int year = Digits(text, 0, 4);
  const int month = Digits(text, 4, 2);
  const int day = Digits(text, 6, 2);
  const int hour = digits >= 10 ? Digits(text, 8, 2) : 0;
  const int minute = digits >= 12 ? Digits(text, 10, 2) : 0;
  const int second = digits >= 14 ? Digits(text, 12, 2) : 0;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
    return std::nullopt;
  }
  std::string_view zone = TrimBlanks(text.substr(digits));
  int offset = 0;
  if (!zone.empty() && zone != "Z") {
    const int zone_hours = Digits(zone, 1, 2);
    const int zone_minutes = Digits(zone, 3, 2);
    if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-') || zone_hours < 0 || zone_hours > 23 ||
        zone_minutes < 0 || zone_minutes > 59) {
      return std::nullopt;
    }
    offset = (zone[0] == '-' ? -1 : 1) * (zone_hours * 3600 + zone_minutes * 60);
  }
  const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  return days * 86400 + hour * 3600 + minute * 60 + second - offset;
}

ProgrammeGuide::ProgrammeGuide(UnixTime now, GuideLimits limits)
    : from_(now - limits.keep_before), to_(now + limits.keep_after), limits_(limits) {}

void ProgrammeGuide::AddChannelName(std::string_view guide_id, std::string_view display_name) {
  const std::string key = NameKey(display_name);
  if (key.empty() || guide_id.empty() || ids_by_name_key_.size() >= limits_.max_channels * 4) return;
  ids_by_name_key_.try_emplace(key, guide_id);
  ids_by_id_key_.try_emplace(NameKey(guide_id), guide_id);
}

bool ProgrammeGuide::AddProgramme(std::string_view guide_id, std::string_view start, std::string_view stop,
                                  std::string_view title) {
  const std::optional<UnixTime> begins = ParseXmltvTime(start);
  const std::optional<UnixTime> ends = ParseXmltvTime(stop);
  if (guide_id.empty() || !begins || !ends || *ends <= *begins || *ends <= from_ || *begins >= to_ ||
      programme_count_ >= limits_.max_programmes) {
    return false;
  }
  auto found = programmes_.find(std::string(guide_id));
  if (found == programmes_.end()) {
    if (programmes_.size() >= limits_.max_channels) return false;
    found = programmes_.emplace(std::string(guide_id), std::vector<Programme>()).first;
    ids_by_id_key_.try_emplace(NameKey(guide_id), guide_id);
  }
  std::vector<Programme>& list = found->second;
  Programme programme{*begins, *ends, CutUtf8(TrimBlanks(title), kMaxTitleBytes)};
  // Guides list a channel's programmes in time order, so this is an append.
  const auto at = std::lower_bound(list.begin(), list.end(), *begins,
                                   [](const Programme& p, UnixTime t) { return p.start < t; });
  if (at != list.end() && at->start == *begins) {
    *at = std::move(programme);  // the same slot from a second guide
    return true;
  }
  if (list.size() >= limits_.max_per_channel) return false;
  list.insert(at, std::move(programme));
  ++programme_count_;
  return true;
}

std::string ProgrammeGuide::MatchChannel(const Channel& channel) const {
  if (programmes_.contains(channel.guide_id)) return channel.guide_id;
  const auto lookup = [](const std::unordered_map<std::string, std::string>& ids, const std::string& name) {
    const auto found = name.empty() ? ids.end() : ids.find(NameKey(name));
    return found == ids.end() ? std::string() : found->second;
  };
  if (std::string match = lookup(ids_by_id_key_, channel.guide_id); !match.empty()) return match;
  for (const std::string* name : {&channel.guide_name, &channel.name}) {
    if (std::string match = lookup(ids_by_name_key_, *name); !match.empty()) return match;
    // Some guides use the channels' names as their ids.
    if (std::string match = lookup(ids_by_id_key_, *name); !match.empty()) return match;
  }
  return {};
}

std::optional<NowAndNext> ProgrammeGuide::Find(const Channel& channel, UnixTime now) const {
  const auto found = programmes_.find(MatchChannel(channel));
  if (found == programmes_.end()) return std::nullopt;
  const std::vector<Programme>& list = found->second;
  // The last programme starting at or before now is the one on, if it has not ended.
  auto next = std::upper_bound(list.begin(), list.end(), now,
                               [](UnixTime t, const Programme& p) { return t < p.start; });
  NowAndNext result;
  if (next != list.begin() && std::prev(next)->stop > now) {
    result.title = std::prev(next)->title;
    result.ends = std::prev(next)->stop;
  }
  if (next != list.end()) {
    result.next_title = next->title;
    result.next_starts = next->start;
  }
  if (result.title.empty() && result.next_title.empty()) return std::nullopt;
  return result;
}

std::string GuideTooltip(const NowAndNext& guide, UnixTime now) {
  std::string text;
  if (!guide.title.empty()) {
    const UnixTime minutes = std::max<UnixTime>(1, (guide.ends - now + 59) / 60);
    text = "正在播放：" + guide.title + "（还剩 " + std::to_string(minutes) + " 分钟）";
  }
  if (!guide.next_title.empty()) {
    if (!text.empty()) text += "\n";
    text += "下一个节目：" + guide.next_title;
  }
  return text;
}

}  // namespace taviro::channels
