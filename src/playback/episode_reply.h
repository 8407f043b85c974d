#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

class TextFetcher;

// The service's answer about one episode of a series: "1" when it failed,
// "0" when there is no such episode, otherwise name$media-address$kind.
// Only an answer with a "$" is a record.
struct EpisodeRecord {
  std::string name;       // as the service sent it (escaped)
  std::string media_url;  // plain
  std::string kind;       // "qvod" for the player, any other word for the play page
};

std::string EpisodeRequestUrl(std::string_view base_url, std::string_view id, std::string_view source,
                              std::string_view episode);

// Hands `done` the whole reply later, decoded from the system's code page. A
// failed request reads as an empty reply. Blanks and line ends around the
// reply are not part of it, so "0\r\n" is "0" wherever it is read.
void FetchEpisodeReply(TextFetcher& fetcher, std::string_view base_url, std::string_view id,
                       std::string_view source, std::string_view episode,
                       std::function<void(const std::string& reply)> done);

// Missing fields of a record are empty; a reply without "$" is no record.
std::optional<EpisodeRecord> ParseEpisodeRecord(std::string_view reply);

// "1", a number equal to zero or nothing at all: the service could not
// answer. Blanks and a line end around the reply do not count.
bool IsFailedEpisodeReply(std::string_view reply);

}  // namespace taviro
