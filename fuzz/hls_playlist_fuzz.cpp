// A playlist from any server: whatever it says, every address it yields is
// http or https and stable, its entries stay within bounds, and its byte
// ranges are never negative.
#include <cstdint>
#include <string>
#include <string_view>

#include "helper/hls_playlist.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;
namespace helper = taviro::helper;

constexpr std::string_view kBase = "https://cdn.example/a/b/index.m3u8?t=1";

void CheckAddress(const std::string& url, const std::string& text) {
  Check(url.starts_with("http://") || url.starts_with("https://"), "only http and https addresses", text);
  const std::optional<std::string> again = helper::ResolveHlsAddress(kBase, url);
  Check(again && *again == url, "a resolved address resolves to itself", text);
}

void CheckRange(const std::optional<helper::HlsByteRange>& range, const std::string& text) {
  Check(!range || (range->offset >= 0 && range->length >= 0), "byte ranges are not negative", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const helper::HlsPlaylist playlist = helper::ParseHlsPlaylist(text, kBase);
  if (const auto* master = std::get_if<helper::HlsMasterPlaylist>(&playlist)) {
    Check(!master->variants.empty() && master->variants.size() <= helper::kMostPlaylistEntries,
          "a master playlist has some variants, boundedly many", text);
    for (const helper::HlsVariant& variant : master->variants) CheckAddress(variant.url, text);
    Check(helper::BestVariant(*master) != nullptr, "a master playlist has a best variant", text);
  } else if (const auto* media = std::get_if<helper::HlsMediaPlaylist>(&playlist)) {
    Check(media->segments.size() <= helper::kMostPlaylistEntries, "boundedly many segments", text);
    std::int64_t previous = -1;
    for (const helper::HlsSegment& segment : media->segments) {
      CheckAddress(segment.url, text);
      Check(segment.url != kBase, "no segment is the playlist itself", text);
      CheckRange(segment.range, text);
      Check(segment.sequence > previous, "sequence numbers increase", text);
      previous = segment.sequence;
      if (segment.key.method == helper::HlsKeyMethod::kAes128) CheckAddress(segment.key.url, text);
      if (segment.map) {
        CheckAddress(segment.map->url, text);
        CheckRange(segment.map->range, text);
      }
    }
  }
  return 0;
}
