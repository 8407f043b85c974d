#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::helper {

// What a player asks of the helper's loopback server: the bytes of one
// item, named by the item's token in "/item/<token>/<name>".
struct MediaRequest {
  bool head_only = false;
  std::string token;
  // What follows the token's slash, as sent: the item's own name, or an
  // address relative to it that the player built.
  std::string path;
  std::string host;  // empty when the request names none
  // A single byte range: "first-last", "first-" or "-suffix".
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  std::optional<std::int64_t> suffix;
};

// The head of a request (request line and header lines, up to the blank
// line). Nothing for anything but GET or HEAD of an item path over
// HTTP/1.x; a Range the server cannot honour is left out, so the whole
// item is sent.
std::optional<MediaRequest> ParseMediaRequest(std::string_view head);

// The bytes [begin, end) a request wants of an item of `size` bytes;
// nothing when the range lies outside the item.
struct ByteSpan {
  std::int64_t begin = 0;
  std::int64_t end = 0;
  bool partial = false;
};
std::optional<ByteSpan> RequestedSpan(const MediaRequest& request, std::int64_t size);

}  // namespace taviro::helper
