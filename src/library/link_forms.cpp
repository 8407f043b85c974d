#include "library/link_forms.h"

#include <charconv>
#include <optional>

#include "util/script_escape.h"

namespace taviro::catalogue {
namespace {

std::optional<long long> ParseIndex(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// The list's separators and quotes cannot stand in its plain names: a name
// from a user's disk may hold them, so they become their full-width forms
// there (pages, links and replies carry the name unchanged).
std::string PlainInList(std::string_view name) {
  std::string plain;
  plain.reserve(name.size());
  for (const char c : name) {
    switch (c) {
      case '$': plain += "＄"; break;
      case '#': plain += "＃"; break;
      case ';': plain += "；"; break;
      case '"': plain += "＂"; break;
      case '\\': plain += "＼"; break;
      case '\r':
      case '\n': plain += ' '; break;
      default: plain += c;
    }
  }
  return plain;
}

}  // namespace

std::string ServiceAddress(std::string_view base_url, std::string_view address) {
  if (address.find("://") != std::string_view::npos) return std::string(address);
  return std::string(base_url) + std::string(address);
}

std::string MediaUrl(std::string_view base_url, std::string_view media, std::string_view kind) {
  if (media.find("://") != std::string_view::npos) return std::string(media);
  // The program tells a player item by "qvod" in its address, as the P2P
  // addresses it was made for all held it.
  return std::string(base_url) + (kind == "qvod" ? "qvod/" : "media/") + std::string(media);
}

std::string CatalogueLink(int series_id, std::size_t source, std::size_t episode, std::string_view title) {
  return "mivuvod://" + std::to_string(series_id) + "-" + std::to_string(source) + "-" +
         std::to_string(episode) + "-" + ScriptEscape(title);
}

std::string ListPlayLink(std::string_view kind, std::string_view url, std::string_view escaped_title,
                         std::string_view escaped_name, int series_id, std::size_t source,
                         std::size_t episode) {
  std::string link = "miqvod://";
  link.append(kind).append("&&&").append(ScriptEscape(url)).append("&&&");
  link.append(escaped_title).append("&&&").append(escaped_name).append("&&&");
  link += std::to_string(series_id) + "&&&" + std::to_string(source) + "&&&" + std::to_string(episode);
  link += "&&&n&&&1";
  return link;
}

std::string ChannelLink(std::string_view code) { return "mitvs://" + std::string(code); }

std::string VideoInfoListText(const Series& series, std::string_view base_url) {
  std::string text;
  for (std::size_t s = 0; s < series.sources.size(); ++s) {
    const Source& source = series.sources[s];
    if (s > 0) text += "$$$";
    text += PlainInList(source.name) + "$$";
    for (std::size_t e = 0; e < source.episodes.size(); ++e) {
      const Episode& episode = source.episodes[e];
      if (e > 0) text += "#";
      text += PlainInList(episode.name) + "$" + MediaUrl(base_url, episode.media, source.kind) + "$" +
              source.kind;
    }
  }
  return text;
}

std::string EpisodeReply(const Catalogue& catalogue, std::string_view id, std::string_view source,
                         std::string_view episode, std::string_view base_url) {
  const auto series_id = ParseIndex(id);
  const auto source_index = ParseIndex(source);
  const auto episode_index = ParseIndex(episode);
  if (!series_id || !source_index || !episode_index) return "1";
  const Series* series = *series_id > 0 && *series_id <= 1'000'000'000
                             ? catalogue.FindSeries(static_cast<int>(*series_id))
                             : nullptr;
  if (series == nullptr || *source_index < 0 || *episode_index < 0) return "0";
  const auto s = static_cast<std::size_t>(*source_index);
  const auto e = static_cast<std::size_t>(*episode_index);
  if (s >= series->sources.size() || e >= series->sources[s].episodes.size()) return "0";
  const Source& found_source = series->sources[s];
  const Episode& found = found_source.episodes[e];
  return ScriptEscape(found.name) + "$" + MediaUrl(base_url, found.media, found_source.kind) + "$" +
         found_source.kind;
}

}  // namespace taviro::catalogue
