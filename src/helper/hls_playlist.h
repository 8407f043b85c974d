#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace taviro::helper {

// A playlist is text from anywhere: its size and its entries are bounded
// before anything is fetched for it.
inline constexpr std::size_t kLargestPlaylist = 10 * 1024 * 1024;
inline constexpr std::size_t kMostPlaylistEntries = 100'000;
// Master playlists name media playlists; a chain longer than this is a loop
// or an attack, never a programme.
inline constexpr int kDeepestPlaylistChain = 4;

struct HlsByteRange {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  bool operator==(const HlsByteRange&) const = default;
};

enum class HlsKeyMethod { kNone, kAes128 };

using HlsIv = std::array<std::uint8_t, 16>;

struct HlsKey {
  HlsKeyMethod method = HlsKeyMethod::kNone;
  std::string url;
  // The key's own IV; without one the segment's sequence number is the IV.
  std::optional<HlsIv> iv;
  bool operator==(const HlsKey&) const = default;
};

// The fMP4 initialisation section that precedes the media of a segment.
struct HlsMap {
  std::string url;
  std::optional<HlsByteRange> range;
  // The key in force where the section is named: it is encrypted with it.
  HlsKey key;
  bool operator==(const HlsMap&) const = default;
};

struct HlsSegment {
  std::string url;
  double duration = 0;
  std::optional<HlsByteRange> range;
  std::int64_t sequence = 0;
  bool discontinuity = false;
  HlsKey key;
  std::optional<HlsMap> map;
};

struct HlsVariant {
  std::string url;
  std::int64_t bandwidth = 0;
  std::string audio_group;  // its sound is a rendition of this group
};

// A rendition of the sound in a playlist of its own (#EXT-X-MEDIA with a URI).
struct HlsAudioRendition {
  std::string group;
  std::string url;
  bool is_default = false;
};

struct HlsMasterPlaylist {
  std::vector<HlsVariant> variants;
  std::vector<HlsAudioRendition> audio;
};

struct HlsMediaPlaylist {
  std::vector<HlsSegment> segments;
  bool ended = false;  // #EXT-X-ENDLIST: a programme, not a live stream
};

enum class HlsRefusal {
  kNotPlaylist,       // no #EXTM3U first line
  kTooLarge,          // over kLargestPlaylist bytes
  kTooManyEntries,    // over kMostPlaylistEntries segments or variants
  kForbiddenAddress,  // an address that is not http or https
  kPointsToItself,
  kTooDeep,
  kUnsupported,  // an encryption this program cannot undo
  kMalformed,
};

using HlsPlaylist = std::variant<HlsMasterPlaylist, HlsMediaPlaylist, HlsRefusal>;

// `base_url`: the playlist's final address (after redirects), which its
// relative addresses are resolved against.
HlsPlaylist ParseHlsPlaylist(std::string_view text, std::string_view base_url);

// `reference` resolved against `base`; nothing unless both end up http or
// https. The fragment is dropped.
std::optional<std::string> ResolveHlsAddress(std::string_view base, std::string_view reference);

// The variant with the highest bandwidth; nothing for an empty list.
const HlsVariant* BestVariant(const HlsMasterPlaylist& master);

// The playlist of the sound that goes with `variant`, when its sound is not
// in its own segments: the group's default rendition, else its first.
const HlsAudioRendition* AudioFor(const HlsMasterPlaylist& master, const HlsVariant& variant);

// The IV a segment is decrypted with: the key's own, else the sequence
// number as a 128-bit big-endian number.
HlsIv SegmentIv(const HlsSegment& segment);

// The playlists fetched on the way to the media: refuses one seen before
// and a chain too deep.
class HlsPlaylistTrail {
 public:
  // The next playlist of the chain.
  std::optional<HlsRefusal> Enter(const std::string& url);
  // Where a redirect took it: seen, but no deeper.
  std::optional<HlsRefusal> RedirectedTo(const std::string& url);

 private:
  std::set<std::string> seen_;
  int depth_ = 0;
};

// A short English reason, for logs and the error a start answers.
std::string_view HlsRefusalText(HlsRefusal refusal);

}  // namespace taviro::helper
