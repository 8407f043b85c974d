#include "helper/hls_playlist.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace taviro::helper {
namespace {

constexpr std::string_view kWhitespace = " \t\r";

std::string_view Trim(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(kWhitespace);
  if (begin == std::string_view::npos) return {};
  const std::size_t end = text.find_last_not_of(kWhitespace);
  return text.substr(begin, end - begin + 1);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::optional<std::int64_t> Integer(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return std::nullopt;
  return value;
}

// "NAME=value,NAME="quoted, with commas"": the attribute list of a tag.
std::map<std::string, std::string, std::less<>> Attributes(std::string_view text) {
  std::map<std::string, std::string, std::less<>> attributes;
  while (!text.empty()) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) break;
    const std::string name(Trim(text.substr(0, equals)));
    text.remove_prefix(equals + 1);
    std::string value;
    if (!text.empty() && text.front() == '"') {
      const std::size_t close = text.find('"', 1);
      if (close == std::string_view::npos) break;
      value = text.substr(1, close - 1);
      text.remove_prefix(close + 1);
    } else {
      value = Trim(text.substr(0, text.find(',')));
      text.remove_prefix(std::min(text.size(), value.size()));
    }
    attributes.emplace(name, std::move(value));
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return attributes;
}

std::string_view Attribute(const std::map<std::string, std::string, std::less<>>& attributes,
                           std::string_view name) {
  const auto found = attributes.find(name);
  return found == attributes.end() ? std::string_view() : std::string_view(found->second);
}

// "length[@offset]"; without an offset the range follows `previous`.
std::optional<HlsByteRange> ByteRange(std::string_view text, std::optional<std::int64_t> previous_end) {
  const std::size_t at = text.find('@');
  const std::optional<std::int64_t> length = Integer(Trim(text.substr(0, at)));
  std::optional<std::int64_t> offset = previous_end;
  if (at != std::string_view::npos) offset = Integer(Trim(text.substr(at + 1)));
  if (!length || !offset || *offset > INT64_MAX - *length) return std::nullopt;
  return HlsByteRange{*offset, *length};
}

std::optional<HlsIv> ParseIv(std::string_view text) {
  if (text.size() < 3 || text[0] != '0' || Lower(text[1]) != 'x') return std::nullopt;
  text.remove_prefix(2);
  if (text.size() > 32) return std::nullopt;
  HlsIv iv{};
  // Right-aligned: fewer digits are a smaller number.
  std::size_t nibble = 32 - text.size();
  for (const char c : text) {
    int value = 0;
    if (c >= '0' && c <= '9')
      value = c - '0';
    else if (Lower(c) >= 'a' && Lower(c) <= 'f')
      value = Lower(c) - 'a' + 10;
    else
      return std::nullopt;
    iv[nibble / 2] |= static_cast<std::uint8_t>(nibble % 2 == 0 ? value << 4 : value);
    ++nibble;
  }
  return iv;
}

struct AddressParts {
  std::string scheme;  // in lower case
  std::string_view authority;
  std::string_view path;
  std::string_view query;  // with its "?"
};

std::optional<AddressParts> SplitAbsolute(std::string_view address) {
  address = address.substr(0, address.find('#'));
  const std::size_t colon = address.find(':');
  if (colon == std::string_view::npos || address.substr(colon + 1, 2) != "//") return std::nullopt;
  AddressParts parts;
  for (const char c : address.substr(0, colon)) parts.scheme += Lower(c);
  if (parts.scheme != "http" && parts.scheme != "https") return std::nullopt;
  address.remove_prefix(colon + 3);
  const std::size_t authority_end = address.find_first_of("/?");
  parts.authority = address.substr(0, authority_end);
  if (parts.authority.empty()) return std::nullopt;
  address.remove_prefix(std::min(address.size(), parts.authority.size()));
  const std::size_t question = address.find('?');
  parts.path = address.substr(0, question);
  if (question != std::string_view::npos) parts.query = address.substr(question);
  return parts;
}

// RFC 3986's remove_dot_segments, on a path that begins with "/".
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> kept;
  std::size_t begin = 1;
  while (begin <= path.size()) {
    const std::size_t slash = std::min(path.find('/', begin), path.size());
    const std::string_view piece = path.substr(begin, slash - begin);
    const bool last = slash == path.size();
    if (piece == "..") {
      if (!kept.empty()) kept.pop_back();
      if (last) kept.emplace_back();
    } else if (piece == ".") {
      if (last) kept.emplace_back();
    } else {
      kept.push_back(piece);
    }
    begin = slash + 1;
  }
  std::string result;
  for (const std::string_view piece : kept) {
    result += '/';
    result += piece;
  }
  return result.empty() ? "/" : result;
}

bool HasScheme(std::string_view reference) {
  const std::size_t colon = reference.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return reference.find_first_of("/?#") > colon;
}

class Parser {
 public:
  explicit Parser(std::string_view base) : base_(base) {}

  HlsPlaylist Run(std::string_view text) {
    if (text.size() > kLargestPlaylist) return HlsRefusal::kTooLarge;
    if (StartsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    bool first = true;
    while (!text.empty()) {
      const std::size_t end = std::min(text.find('\n'), text.size());
      const std::string_view line = Trim(text.substr(0, end));
      text.remove_prefix(std::min(text.size(), end + 1));
      if (first) {
        if (line != "#EXTM3U") return HlsRefusal::kNotPlaylist;
        first = false;
        continue;
      }
      if (line.empty()) continue;
      if (const std::optional<HlsRefusal> refusal = Line(line)) return *refusal;
    }
    if (first) return HlsRefusal::kNotPlaylist;
    if (!master_.variants.empty()) {
      if (!media_.segments.empty()) return HlsRefusal::kMalformed;
      return master_;
    }
    return media_;
  }

 private:
  std::optional<HlsRefusal> Line(std::string_view line) {
    if (line.front() != '#') return Address(line);
    const std::size_t colon = line.find(':');
    const std::string_view tag = line.substr(0, colon);
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    if (tag == "#EXT-X-STREAM-INF") {
      const auto attributes = Attributes(value);
      pending_bandwidth_ = Integer(Attribute(attributes, "BANDWIDTH")).value_or(0);
      pending_audio_ = Attribute(attributes, "AUDIO");
      variant_pending_ = true;
    } else if (tag == "#EXTINF") {
      const std::string_view number = Trim(value.substr(0, value.find(',')));
      double seconds = 0;
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), seconds);
      if (error != std::errc() || seconds < 0) return HlsRefusal::kMalformed;
      pending_duration_ = seconds;
    } else if (tag == "#EXT-X-BYTERANGE") {
      pending_range_ = ByteRange(value, previous_range_end_);
      if (!pending_range_) return HlsRefusal::kMalformed;
    } else if (tag == "#EXT-X-MEDIA-SEQUENCE") {
      const std::optional<std::int64_t> sequence = Integer(Trim(value));
      if (!sequence || !media_.segments.empty()) return HlsRefusal::kMalformed;
      sequence_ = *sequence;
    } else if (tag == "#EXT-X-DISCONTINUITY") {
      discontinuity_ = true;
    } else if (tag == "#EXT-X-ENDLIST") {
      media_.ended = true;
    } else if (tag == "#EXT-X-KEY") {
      return Key(Attributes(value));
    } else if (tag == "#EXT-X-MAP") {
      return Map(Attributes(value));
    } else if (tag == "#EXT-X-MEDIA") {
      return Media(Attributes(value));
    }
    return std::nullopt;
  }

  std::optional<HlsRefusal> Key(const std::map<std::string, std::string, std::less<>>& attributes) {
    const std::string_view method = Attribute(attributes, "METHOD");
    if (method == "NONE") {
      key_ = HlsKey{};
      return std::nullopt;
    }
    if (method != "AES-128") return HlsRefusal::kUnsupported;
    HlsKey key;
    key.method = HlsKeyMethod::kAes128;
    const std::optional<std::string> url = Resolve(Attribute(attributes, "URI"));
    if (!url) return HlsRefusal::kForbiddenAddress;
    key.url = *url;
    if (const std::string_view iv = Attribute(attributes, "IV"); !iv.empty()) {
      key.iv = ParseIv(iv);
      if (!key.iv) return HlsRefusal::kMalformed;
    }
    key_ = std::move(key);
    return std::nullopt;
  }

  std::optional<HlsRefusal> Map(const std::map<std::string, std::string, std::less<>>& attributes) {
    const std::optional<std::string> url = Resolve(Attribute(attributes, "URI"));
    if (!url) return HlsRefusal::kForbiddenAddress;
    HlsMap map{*url, std::nullopt, key_};
    if (const std::string_view range = Attribute(attributes, "BYTERANGE"); !range.empty()) {
      map.range = ByteRange(range, std::nullopt);
      if (!map.range) return HlsRefusal::kMalformed;
    }
    map_ = std::move(map);
    return std::nullopt;
  }

  std::optional<HlsRefusal> Media(const std::map<std::string, std::string, std::less<>>& attributes) {
    const std::string_view uri = Attribute(attributes, "URI");
    // Without a URI the sound is in the variants' own segments.
    if (Attribute(attributes, "TYPE") != "AUDIO" || uri.empty()) return std::nullopt;
    const std::optional<std::string> url = Resolve(uri);
    if (!url) return HlsRefusal::kForbiddenAddress;
    if (master_.audio.size() >= kMostPlaylistEntries) return HlsRefusal::kTooManyEntries;
    master_.audio.push_back(
        {std::string(Attribute(attributes, "GROUP-ID")), *url, Attribute(attributes, "DEFAULT") == "YES"});
    return std::nullopt;
  }

  std::optional<HlsRefusal> Address(std::string_view line) {
    const std::optional<std::string> url = Resolve(line);
    if (!url) return HlsRefusal::kForbiddenAddress;
    if (*url == base_) return HlsRefusal::kPointsToItself;
    if (media_.segments.size() + master_.variants.size() >= kMostPlaylistEntries) {
      return HlsRefusal::kTooManyEntries;
    }
    if (variant_pending_) {
      master_.variants.push_back({*url, pending_bandwidth_, pending_audio_});
      variant_pending_ = false;
      return std::nullopt;
    }
    HlsSegment segment;
    segment.url = *url;
    segment.duration = pending_duration_;
    segment.range = pending_range_;
    segment.sequence = sequence_++;
    segment.discontinuity = discontinuity_;
    segment.key = key_;
    segment.map = map_;
    previous_range_end_ =
        pending_range_ ? std::optional(pending_range_->offset + pending_range_->length) : std::nullopt;
    media_.segments.push_back(std::move(segment));
    pending_duration_ = 0;
    pending_range_.reset();
    discontinuity_ = false;
    return std::nullopt;
  }

  std::optional<std::string> Resolve(std::string_view reference) const {
    if (reference.empty()) return std::nullopt;
    return ResolveHlsAddress(base_, reference);
  }

  const std::string base_;
  HlsMasterPlaylist master_;
  HlsMediaPlaylist media_;
  bool variant_pending_ = false;
  std::int64_t pending_bandwidth_ = 0;
  std::string pending_audio_;
  double pending_duration_ = 0;
  std::optional<HlsByteRange> pending_range_;
  std::optional<std::int64_t> previous_range_end_;
  std::int64_t sequence_ = 0;
  bool discontinuity_ = false;
  HlsKey key_;
  std::optional<HlsMap> map_;
};

}  // namespace

HlsPlaylist ParseHlsPlaylist(std::string_view text, std::string_view base_url) {
  if (!SplitAbsolute(base_url)) return HlsRefusal::kForbiddenAddress;
  return Parser(base_url).Run(text);
}

std::optional<std::string> ResolveHlsAddress(std::string_view base, std::string_view reference) {
  const std::optional<AddressParts> parts = SplitAbsolute(base);
  if (!parts) return std::nullopt;
  reference = reference.substr(0, reference.find('#'));
  // Control characters and spaces never belong in an address; a line with
  // them is not one.
  if (std::any_of(reference.begin(), reference.end(),
                  [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7f; })) {
    return std::nullopt;
  }
  if (HasScheme(reference)) {
    const std::optional<AddressParts> absolute = SplitAbsolute(reference);
    if (!absolute) return std::nullopt;
    return absolute->scheme + "://" + std::string(absolute->authority) +
           RemoveDotSegments(absolute->path.empty() ? "/" : absolute->path) + std::string(absolute->query);
  }
  if (StartsWith(reference, "//")) return ResolveHlsAddress(parts->scheme + ":" + std::string(reference), "");
  const std::string origin = parts->scheme + "://" + std::string(parts->authority);
  const std::size_t question = reference.find('?');
  const std::string_view path = reference.substr(0, question);
  const std::string query(question == std::string_view::npos ? std::string_view()
                                                             : reference.substr(question));
  if (path.empty()) {
    const std::string base_path = RemoveDotSegments(parts->path.empty() ? "/" : parts->path);
    return origin + base_path + (question == std::string_view::npos ? std::string(parts->query) : query);
  }
  if (path.front() == '/') return origin + RemoveDotSegments(path) + query;
  const std::string_view base_path = parts->path;
  const std::size_t last_slash = base_path.rfind('/');
  const std::string directory =
      last_slash == std::string_view::npos ? "/" : std::string(base_path.substr(0, last_slash + 1));
  return origin + RemoveDotSegments(directory + std::string(path)) + query;
}

const HlsVariant* BestVariant(const HlsMasterPlaylist& master) {
  const auto best =
      std::max_element(master.variants.begin(), master.variants.end(),
                       [](const HlsVariant& a, const HlsVariant& b) { return a.bandwidth < b.bandwidth; });
  return best == master.variants.end() ? nullptr : &*best;
}

const HlsAudioRendition* AudioFor(const HlsMasterPlaylist& master, const HlsVariant& variant) {
  const HlsAudioRendition* found = nullptr;
  for (const HlsAudioRendition& rendition : master.audio) {
    if (variant.audio_group.empty() || rendition.group != variant.audio_group) continue;
    if (rendition.is_default) return &rendition;
    if (!found) found = &rendition;
  }
  return found;
}

HlsIv SegmentIv(const HlsSegment& segment) {
  if (segment.key.iv) return *segment.key.iv;
  HlsIv iv{};
  auto sequence = static_cast<std::uint64_t>(segment.sequence);
  for (int i = 15; i >= 8; --i) {
    iv[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sequence & 0xff);
    sequence >>= 8;
  }
  return iv;
}

std::optional<HlsRefusal> HlsPlaylistTrail::Enter(const std::string& url) {
  if (++depth_ > kDeepestPlaylistChain) return HlsRefusal::kTooDeep;
  return RedirectedTo(url);
}

std::optional<HlsRefusal> HlsPlaylistTrail::RedirectedTo(const std::string& url) {
  if (!seen_.insert(url).second) return HlsRefusal::kPointsToItself;
  return std::nullopt;
}

std::string_view HlsRefusalText(HlsRefusal refusal) {
  switch (refusal) {
    case HlsRefusal::kNotPlaylist: return "not a playlist";
    case HlsRefusal::kTooLarge: return "playlist too large";
    case HlsRefusal::kTooManyEntries: return "playlist has too many entries";
    case HlsRefusal::kForbiddenAddress: return "playlist names an address that is not http or https";
    case HlsRefusal::kPointsToItself: return "playlist points to itself";
    case HlsRefusal::kTooDeep: return "playlists nested too deep";
    case HlsRefusal::kUnsupported: return "playlist uses an encryption that is not supported";
    case HlsRefusal::kMalformed: return "malformed playlist";
  }
  return "refused playlist";
}

}  // namespace taviro::helper
