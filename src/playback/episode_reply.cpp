#include "playback/episode_reply.h"

#include <vector>

#include "ports/text_fetcher.h"
#include "util/ansi_text.h"

namespace taviro {
namespace {

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t at = text.find(separator);
    fields.push_back(text.substr(0, at));
    if (at == std::string_view::npos) {
      return fields;
    }
    text.remove_prefix(at + 1);
  }
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string FieldOf(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace

std::string EpisodeRequestUrl(std::string_view base_url, std::string_view id, std::string_view source,
                              std::string_view episode) {
  std::string url(base_url);
  url += "h.asp?id=";
  url += id;
  url += "&v=";
  url += source;
  url += "&v1=";
  url += episode;
  return url;
}

void FetchEpisodeReply(TextFetcher& fetcher, std::string_view base_url, std::string_view id,
                       std::string_view source, std::string_view episode,
                       std::function<void(const std::string& reply)> done) {
  fetcher.Fetch(
      EpisodeRequestUrl(base_url, id, source, episode),
      [done = std::move(done)](const std::string& body) { done(std::string(TrimBlanks(DecodeAnsi(body)))); });
}

std::optional<EpisodeRecord> ParseEpisodeRecord(std::string_view reply) {
  if (reply.find('$') == std::string_view::npos) {
    return std::nullopt;
  }
  const std::vector<std::string_view> fields = SplitOn(reply, '$');
  return EpisodeRecord{FieldOf(fields, 0), FieldOf(fields, 1), FieldOf(fields, 2)};
}

bool IsFailedEpisodeReply(std::string_view reply) {
  const std::string_view text = TrimBlanks(reply);
  return text.empty() || text == "1" || text.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace taviro
