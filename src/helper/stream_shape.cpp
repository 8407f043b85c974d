#include "helper/stream_shape.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "helper/download_name.h"
#include "util/ansi_text.h"
#include "util/path_names.h"
#include "util/split_text.h"
#include "util/utf8.h"

namespace taviro {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// Past a UTF-8 byte order mark and leading blanks, as servers send them.
std::string_view Start(std::string_view body) {
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  return Trimmed(body.substr(0, std::min(body.size(), kSniffBytes)));
}

bool IsDash(const StreamHead& head, std::string_view body) {
  if (Lower(head.content_type) == "application/dash+xml") return true;
  std::string_view start = Start(body);
  // An XML declaration or comments may come first.
  return start.starts_with("<") && start.find("<MPD") != std::string_view::npos;
}

// The scheme of a reference, lower case; empty for a relative one. Any
// text before a colon that comes before the path counts as a scheme, so
// that ffmpeg's own prefixes ("subfile,...:", "concat:") count too.
std::string SchemeOf(std::string_view reference) {
  const std::size_t colon = reference.find(':');
  if (colon == std::string_view::npos || reference.find_first_of("/?#") < colon) return {};
  return Lower(reference.substr(0, colon));
}

bool AllowedReference(std::string_view reference) {
  const std::string scheme = SchemeOf(reference);
  return scheme.empty() || scheme == "http" || scheme == "https";
}

// Every address a playlist names: its URI lines and its URI="..." attributes.
template <typename Visit>
bool EveryReference(std::string_view playlist, Visit visit) {
  for (std::string_view line : SplitText(playlist, "\n")) {
    line = Trimmed(line);
    if (line.empty()) continue;
    if (!line.starts_with("#")) {
      if (!visit(line)) return false;
      continue;
    }
    for (std::size_t at = line.find("URI=\""); at != std::string_view::npos; at = line.find("URI=\"", at)) {
      at += 5;
      const std::size_t end = line.find('"', at);
      if (end == std::string_view::npos) break;
      if (!visit(line.substr(at, end - at))) return false;
    }
  }
  return true;
}

bool HasTag(std::string_view playlist, std::string_view tag) {
  for (std::string_view line : SplitText(playlist, "\n")) {
    if (Trimmed(line).starts_with(tag)) return true;
  }
  return false;
}

// Formats channels and stations are sent in; a file of them without a
// length is a channel, not a file that lost its length.
bool IsChannelFormat(const StreamHead& head, std::string_view body) {
  const std::string type = Lower(head.content_type);
  if (head.icy || type.starts_with("audio/")) return true;
  if (type == "video/mp2t" || type == "video/x-flv") return true;
  constexpr std::size_t kPacket = 188;
  const bool transport = body.size() > kPacket && body[0] == '\x47' && body[kPacket] == '\x47';
  return transport || body.starts_with("FLV\x01");
}

}  // namespace

bool IsHlsPlaylist(const StreamHead& head, std::string_view first_bytes) {
  static constexpr std::array<std::string_view, 4> kTypes = {
      "application/vnd.apple.mpegurl", "application/x-mpegurl", "audio/mpegurl", "audio/x-mpegurl"};
  const std::string type = Lower(head.content_type);
  if (std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end()) return true;
  return Start(first_bytes).starts_with("#EXTM3U");
}

StreamShape ClassifyStream(const StreamHead& head, std::string_view body) {
  if (IsHlsPlaylist(head, body)) {
    if (!Start(body).starts_with("#EXTM3U")) return StreamShape::kRefused;
    if (!EveryReference(body, AllowedReference)) return StreamShape::kRefused;
    if (HasTag(body, "#EXT-X-STREAM-INF")) return StreamShape::kMaster;
    return HasTag(body, "#EXT-X-ENDLIST") ? StreamShape::kProgramme : StreamShape::kLive;
  }
  if (IsDash(head, body)) return StreamShape::kManifest;
  if (head.length) return StreamShape::kFile;
  return IsChannelFormat(head, body) ? StreamShape::kLive : StreamShape::kUnbounded;
}

std::optional<std::string> FirstVariant(std::string_view playlist) {
  bool after_variant = false;
  for (std::string_view line : SplitText(playlist, "\n")) {
    line = Trimmed(line);
    if (line.starts_with("#EXT-X-STREAM-INF")) {
      after_variant = true;
    } else if (after_variant && !line.empty() && !line.starts_with("#")) {
      return std::string(line);
    }
  }
  return std::nullopt;
}

std::string DispositionFileName(std::string_view value) {
  std::string plain;
  for (std::string_view part : SplitText(value, ";")) {
    part = Trimmed(part);
    const std::string lower = Lower(part.substr(0, part.find('=')));
    if (part.find('=') == std::string_view::npos) continue;
    std::string_view given = Trimmed(part.substr(part.find('=') + 1));
    if (lower == "filename*") {
      // charset'language'percent-encoded
      const std::size_t quote = given.rfind('\'');
      if (quote == std::string_view::npos) continue;
      const std::string charset = Lower(given.substr(0, given.find('\'')));
      const bool chinese = charset == "gbk" || charset == "gb2312" || charset == "gb18030";
      if (charset != "utf-8" && !chinese) continue;
      const std::string decoded = PercentDecoded(given.substr(quote + 1));
      return chinese ? DecodeAnsi(decoded) : decoded;
    }
    if (lower == "filename") {
      if (given.size() >= 2 && given.front() == '"' && given.back() == '"')
        given = given.substr(1, given.size() - 2);
      plain = std::string(given);
    }
  }
  // Chinese servers send the name as raw GBK more often than anything else;
  // GB18030 reads every GBK name.
  return IsValidUtf8(plain) ? plain : DecodeAnsi(plain);
}

std::string SavedFileName(std::string_view asked, std::string_view final_name, std::string_view disposition) {
  if (IsSafeFileName(disposition)) return std::string(disposition);
  const auto has_extension = [](std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
  };
  if (IsSafeFileName(final_name) && (has_extension(final_name) || !has_extension(asked)))
    return std::string(final_name);
  return std::string(asked);
}

std::string ProgrammeFileName(std::string_view playlist_address) {
  std::string_view path = playlist_address.substr(0, playlist_address.find_first_of("?#"));
  const std::size_t scheme = path.find("://");
  if (scheme != std::string_view::npos) path.remove_prefix(scheme + 3);
  const std::vector<std::string> segments = [&] {
    std::vector<std::string> found;
    for (std::string_view segment : SplitText(path, "/")) found.push_back(PercentDecoded(segment));
    if (!found.empty()) found.erase(found.begin());  // the host
    return found;
  }();
  if (segments.empty()) return "programme.mp4";
  const std::string& playlist = segments.back();
  const std::size_t dot = playlist.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? playlist : playlist.substr(0, dot);
  // Sites name every programme's playlist alike; its folder tells them apart.
  static constexpr std::array<std::string_view, 9> kAlike = {
      "index", "playlist", "master", "prog_index", "chunklist", "main", "video", "stream", "media"};
  const bool alike = stem.empty() || std::find(kAlike.begin(), kAlike.end(), Lower(stem)) != kAlike.end();
  if (alike && segments.size() > 1 && IsSafeFileName(segments[segments.size() - 2] + ".mp4"))
    return segments[segments.size() - 2] + ".mp4";
  if (IsSafeFileName(stem + ".mp4")) return stem + ".mp4";
  return "programme.mp4";
}

std::string NumberedName(std::string_view name, int number) {
  const std::size_t dot = name.rfind('.');
  const bool has_extension = dot != std::string_view::npos && dot > 0;
  const std::string_view stem = has_extension ? name.substr(0, dot) : name;
  const std::string_view extension = has_extension ? name.substr(dot) : std::string_view();
  const std::string suffix = " (" + std::to_string(number) + ")";
  // Room for the suffix within the longest safe name.
  std::string kept(
      stem.substr(0, std::min(stem.size(), kLongestSavedName - suffix.size() - extension.size())));
  while (!kept.empty() && !IsValidUtf8(kept)) kept.pop_back();
  return kept + suffix + std::string(extension);
}

bool PlayedAtOrigin(StreamShape shape) {
  return shape != StreamShape::kFile && shape != StreamShape::kRefused;
}

}  // namespace taviro
