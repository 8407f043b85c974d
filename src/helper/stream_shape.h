#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// What an address serves, as far as the helper cares: whether it can be
// kept as one file, and whether it ends.
enum class StreamShape {
  kFile,       // a progressive file of known size: fetched and saved whole
  kProgramme,  // an HLS playlist that ends: played at the origin, saved remuxed
  kMaster,     // an HLS master playlist: its first variant decides
  kLive,       // an HLS playlist without end, or a channel (TS, FLV) or a
               // station (ICY, audio) without length: played at the origin,
               // never saved
  kManifest,   // a DASH manifest: played at the origin
  kUnbounded,  // media without a length: played at the origin, never saved
  kRefused,    // a playlist naming what the player must not open
};

// The response head that decides, as the transfer left it after redirects
// and content decoding.
struct StreamHead {
  std::string content_type;            // without parameters, any case
  std::optional<std::int64_t> length;  // of the whole resource
  bool icy = false;                    // a station's: "ICY 200 OK" or icy-* headers
};

// How many first bytes `ClassifyStream` looks at to tell media from a
// playlist; a playlist itself is read whole, up to kLongestPlaylist.
inline constexpr std::size_t kSniffBytes = 512;
inline constexpr std::size_t kLongestPlaylist = 1024 * 1024;

// True when the head or the first bytes say the body is an HLS playlist
// (also when served as text or octet-stream).
bool IsHlsPlaylist(const StreamHead& head, std::string_view first_bytes);

// The shape from the head and the body as far as it was read: for a
// playlist, its whole text; for anything else, its first bytes.
StreamShape ClassifyStream(const StreamHead& head, std::string_view body);

// The first variant a master playlist names, as written (relative or not).
std::optional<std::string> FirstVariant(std::string_view playlist);

// The file name a Content-Disposition header value gives (filename* in
// UTF-8 or GBK first, then filename, raw GBK bytes read as GB18030), in
// UTF-8; empty when it gives none.
std::string DispositionFileName(std::string_view value);

// The name a file is saved under: the server's own (Content-Disposition)
// first, then the last name of the address its redirects ended at when
// that one says what it is (has an extension) or the asked one does not,
// else the asked one. Only safe names count.
std::string SavedFileName(std::string_view asked, std::string_view final_name, std::string_view disposition);

// A saved programme's file, from its playlist's address: the playlist's
// name, or its folder's for a name every site gives its playlists
// ("index.m3u8"), as a video file.
std::string ProgrammeFileName(std::string_view playlist_address);

// `name` with " (number)" before its extension, still a safe name.
std::string NumberedName(std::string_view name, int number);

// True for what a shape's player is sent to the origin for.
bool PlayedAtOrigin(StreamShape shape);

}  // namespace taviro
