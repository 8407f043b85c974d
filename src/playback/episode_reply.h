#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

class HttpClient;

// What the service's "h.asp" page says about one episode, as text: "1" the
// request failed, "0" no such episode, else name "$" media URL "$" kind.
std::string EpisodeReplyUrl(std::string_view base_url, int id, std::string_view source,
                            std::string_view episode);

// Waits for the whole reply; the body is read in the system's code page. A
// failed fetch reads as "", which the callers treat like any reply without
// a record.
std::string FetchEpisodeReply(HttpClient& http, std::string_view base_url, int id, std::string_view source,
                              std::string_view episode);

// "1", a number equal to zero or nothing at all: the service could not
// answer. Blanks and a line end around the reply do not count.
bool IsFailedEpisodeReply(std::string_view reply);

// Fields 0 episode name (escaped), 1 media URL (plain), 2 player kind.
struct EpisodeRecord {
  std::string name;
  std::string media_url;
  std::string kind;
};

// Nothing when the reply holds no "$" (a failure code, an empty body, an
// error page); missing fields are empty.
std::optional<EpisodeRecord> ParseEpisodeReply(std::string_view reply);

}  // namespace taviro
