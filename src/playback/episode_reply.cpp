#include "playback/episode_reply.h"

#include <vector>

#include "app/ansi_text.h"
#include "app/split_text.h"
#include "platform/http_client.h"

namespace taviro {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Field(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace

std::string EpisodeReplyUrl(std::string_view base_url, int id, std::string_view source,
                            std::string_view episode) {
  std::string url(base_url);
  url.append("h.asp?id=").append(std::to_string(id));
  url.append("&v=").append(source).append("&v1=").append(episode);
  return url;
}

std::string FetchEpisodeReply(HttpClient& http, std::string_view base_url, int id, std::string_view source,
                              std::string_view episode) {
  return DecodeAnsi(http.Get(EpisodeReplyUrl(base_url, id, source, episode)));
}

bool IsFailedEpisodeReply(std::string_view reply) {
  const std::string_view text = TrimBlanks(reply);
  return text.empty() || text == "1" || text.find_first_not_of('0') == std::string_view::npos;
}

std::optional<EpisodeRecord> ParseEpisodeReply(std::string_view reply) {
  if (reply.find('$') == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> fields = SplitText(reply, "$");
  return EpisodeRecord{Field(fields, 0), Field(fields, 1), Field(fields, 2)};
}

}  // namespace taviro
