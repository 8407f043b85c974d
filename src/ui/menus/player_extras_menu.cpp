#include "ui/menus/player_extras_menu.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <utility>

#include "playback/media_choices.h"
#include "util/translate.h"

namespace taviro {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kLanguageNames{{
    {"chi", N_("中文")},     {"zho", N_("中文")},    {"zh", N_("中文")},  {"chs", N_("中文")},
    {"cht", N_("中文")},     {"yue", N_("粤语")},    {"eng", N_("英语")}, {"en", N_("英语")},
    {"jpn", N_("日语")},     {"ja", N_("日语")},     {"kor", N_("韩语")}, {"ko", N_("韩语")},
    {"fre", N_("法语")},     {"fra", N_("法语")},    {"fr", N_("法语")},  {"ger", N_("德语")},
    {"deu", N_("德语")},     {"de", N_("德语")},     {"rus", N_("俄语")}, {"ru", N_("俄语")},
    {"spa", N_("西班牙语")}, {"es", N_("西班牙语")},
}};

std::string LanguageName(std::string_view code) {
  for (const auto& [known, name] : kLanguageNames) {
    if (known == code) return std::string(name);
  }
  return std::string(code);
}

std::vector<LiveMenuItem> SubtitleItems(MediaChoices& choices) {
  std::vector<LiveMenuItem> items;
  bool any_selected = false;
  for (const MediaTrack& track : choices.Tracks(TrackKind::kSubtitle)) {
    any_selected = any_selected || track.selected;
    items.push_back({TrackCaption(track, choices.SourceFile(track)),
                     [&choices, id = track.id] { choices.ChooseSubtitle(id); }, track.selected});
  }
  items.push_back({N_("关闭字幕"), [&choices] { choices.ChooseSubtitle(0); }, !any_selected});
  items.push_back({"-", nullptr, std::nullopt});
  items.push_back({N_("加载字幕文件..."), [&choices] { choices.LoadSubtitleFile(); }, std::nullopt});
  items.push_back({"-", nullptr, std::nullopt});
  items.push_back({N_("字幕提前0.1秒(Z)"), [&choices] { choices.ShiftSubtitleDelay(-1); }, std::nullopt});
  items.push_back({N_("字幕延后0.1秒(X)"), [&choices] { choices.ShiftSubtitleDelay(1); }, std::nullopt});
  char delay[48];
  std::snprintf(delay, sizeof delay, "当前延迟%+.1f秒", choices.SubtitleDelay());
  items.push_back({delay, nullptr, std::nullopt});
  return items;
}

std::vector<LiveMenuItem> AudioItems(MediaChoices& choices) {
  std::vector<LiveMenuItem> items;
  for (const MediaTrack& track : choices.Tracks(TrackKind::kAudio)) {
    items.push_back(
        {TrackCaption(track, {}), [&choices, id = track.id] { choices.ChooseAudio(id); }, track.selected});
  }
  if (items.empty()) items.push_back({N_("无音轨"), nullptr, std::nullopt});
  return items;
}

std::vector<LiveMenuItem> SpeedItems(MediaChoices& choices) {
  std::vector<LiveMenuItem> items;
  items.reserve(kSpeeds.size());
  const double now = choices.Speed();
  for (double rate : kSpeeds) {
    items.push_back(
        {SpeedCaption(rate), [&choices, rate] { choices.ChooseSpeed(rate); }, std::abs(rate - now) < 0.001});
  }
  return items;
}

}  // namespace

std::string TrackCaption(const MediaTrack& track, const std::string& source_file) {
  std::string caption = std::to_string(track.id) + ".";
  if (!track.language.empty()) caption += " " + LanguageName(track.language);
  if (!source_file.empty()) {
    caption += " " + std::filesystem::path(source_file).filename().string();
  } else if (!track.title.empty()) {
    caption += " " + track.title;
  } else if (track.language.empty()) {
    caption += " 轨道" + std::to_string(track.id);
  }
  return caption;
}

std::string SpeedCaption(double rate) {
  if (rate == 1.0) return N_("1倍(正常)");
  char text[16];
  std::snprintf(text, sizeof text, "%g倍", rate);
  return text;
}

std::vector<MenuItemData> PlayerExtrasMenuItems(MediaChoices& choices) {
  MediaChoices* c = &choices;
  return {
      {"q_xz", "-", nullptr},
      {"q_zimu", N_("字幕"), nullptr, {}, false, [c] { return SubtitleItems(*c); }},
      {"q_yingui", N_("音轨"), nullptr, {}, false, [c] { return AudioItems(*c); }},
      {"q_sudu", N_("播放速度"), nullptr, {}, false, [c] { return SpeedItems(*c); }},
      {"q_jietu", N_("截图"), [c] { c->SaveFrame(); }},
  };
}

}  // namespace taviro
