#include "http/catalogue.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace taviro::demo {
namespace {

using Json = nlohmann::json;

std::string Text(const Json& object, const char* key) {
  if (!object.contains(key) || !object[key].is_string()) {
    throw CatalogueError(std::string("missing text \"") + key + "\" in " + object.dump());
  }
  return object[key].get<std::string>();
}

std::string OptionalText(const Json& object, const char* key) {
  return object.contains(key) && object[key].is_string() ? object[key].get<std::string>() : std::string();
}

// Episode data travels inside "$", "$$", "$$$" and "#" separated strings of
// a script literal that ends at the first ";", so names and addresses must
// not hold those characters.
void CheckSeparatorFree(const std::string& text, const char* what) {
  if (text.find_first_of("$#;\"\\") != std::string::npos) {
    throw CatalogueError(std::string(what) + " \"" + text + "\" holds one of $ # ; \" \\");
  }
}

Episode ParseEpisode(const Json& j) {
  Episode episode{Text(j, "name"), Text(j, "media")};
  CheckSeparatorFree(episode.name, "episode name");
  CheckSeparatorFree(episode.media, "media");
  return episode;
}

Source ParseSource(const Json& j) {
  Source source{Text(j, "name"), Text(j, "kind"), {}};
  CheckSeparatorFree(source.name, "source name");
  if (source.kind.empty() || source.kind.find_first_of("$&-#;\" ") != std::string::npos) {
    throw CatalogueError("source kind \"" + source.kind + "\" must be one plain word");
  }
  if (!j.contains("episodes") || !j["episodes"].is_array() || j["episodes"].empty()) {
    throw CatalogueError("source \"" + source.name + "\" has no episodes");
  }
  for (const Json& e : j["episodes"]) source.episodes.push_back(ParseEpisode(e));
  return source;
}

Series ParseSeries(const Json& j) {
  Series series;
  if (!j.contains("id") || !j["id"].is_number_integer() || j["id"].get<long long>() <= 0 ||
      j["id"].get<long long>() > 1'000'000'000) {
    throw CatalogueError("series without a positive integer id: " + j.dump());
  }
  series.id = j["id"].get<int>();
  series.title = Text(j, "title");
  if (series.title.empty()) throw CatalogueError("series " + std::to_string(series.id) + " has no title");
  series.year = j.value("year", 0);
  series.area = OptionalText(j, "area");
  series.genre = OptionalText(j, "genre");
  series.score = OptionalText(j, "score");
  series.summary = OptionalText(j, "summary");
  if (j.contains("poster") && j["poster"].is_object()) {
    const Json& p = j["poster"];
    series.poster = {OptionalText(p, "from"), OptionalText(p, "to"), OptionalText(p, "glyph")};
  }
  if (!j.contains("sources") || !j["sources"].is_array() || j["sources"].empty()) {
    throw CatalogueError("series " + std::to_string(series.id) + " has no sources");
  }
  for (const Json& s : j["sources"]) series.sources.push_back(ParseSource(s));
  return series;
}

TvChannel ParseChannel(const Json& j) {
  TvChannel channel{Text(j, "code"), Text(j, "name"), OptionalText(j, "group"), OptionalText(j, "now"),
                    Text(j, "media")};
  for (char c : channel.code) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain) throw CatalogueError("channel code \"" + channel.code + "\" must be letters and digits");
  }
  if (channel.code.empty()) throw CatalogueError("channel without code");
  return channel;
}

// The small text files separate their fields with "====", "||" and "$$$".
std::string PlainField(const Json& object, const char* key) {
  const std::string text = OptionalText(object, key);
  for (const char* separator : {"====", "||", "$$$", "\r", "\n"}) {
    if (text.find(separator) != std::string::npos) {
      throw CatalogueError(std::string(key) + " \"" + text + "\" holds a separator or a line break");
    }
  }
  return text;
}

Switches ParseSwitches(const Json& j) {
  Switches switches;
  const auto field = [&](const char* key, std::string& out) {
    if (j.contains(key)) out = PlainField(j, key);
  };
  field("exit_promotion", switches.exit_promotion);
  field("notice", switches.notice);
  field("pause_panel", switches.pause_panel);
  field("ticker", switches.ticker);
  field("player_panel", switches.player_panel);
  field("version", switches.version);
  return switches;
}

NoticeSchedule ParseNotices(const Json& j) {
  NoticeSchedule schedule;
  schedule.delay_seconds = j.value("delay_seconds", 0);
  schedule.stay_minutes = j.value("stay_minutes", 0);
  schedule.repeat = j.value("repeat", 0);
  if (j.contains("pages") && j["pages"].is_array()) {
    for (const Json& page : j["pages"]) {
      schedule.pages.push_back(
          {OptionalText(page, "title"), OptionalText(page, "text"), PlainField(page, "link")});
    }
  }
  return schedule;
}

}  // namespace

Catalogue ParseCatalogue(std::string_view json_text) {
  Json root;
  try {
    root = Json::parse(json_text);
  } catch (const Json::exception& e) {
    throw CatalogueError(std::string("not valid JSON: ") + e.what());
  }
  if (!root.is_object() || !root.contains("series") || !root["series"].is_array()) {
    throw CatalogueError("the catalogue needs a \"series\" list");
  }
  Catalogue catalogue;
  std::set<int> ids;
  for (const Json& s : root["series"]) {
    catalogue.series.push_back(ParseSeries(s));
    if (!ids.insert(catalogue.series.back().id).second) {
      throw CatalogueError("series id " + std::to_string(catalogue.series.back().id) + " appears twice");
    }
  }
  if (root.contains("tv") && root["tv"].is_array()) {
    for (const Json& c : root["tv"]) catalogue.channels.push_back(ParseChannel(c));
  }
  if (root.contains("switches") && root["switches"].is_object())
    catalogue.switches = ParseSwitches(root["switches"]);
  if (root.contains("headlines") && root["headlines"].is_array()) {
    for (const Json& h : root["headlines"])
      catalogue.headlines.push_back({PlainField(h, "text"), PlainField(h, "link")});
  }
  if (root.contains("notices") && root["notices"].is_object())
    catalogue.notices = ParseNotices(root["notices"]);
  return catalogue;
}

Catalogue LoadCatalogue(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CatalogueError("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return ParseCatalogue(text.str());
}

}  // namespace taviro::demo
