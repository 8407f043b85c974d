#include "util/extract_between.h"

#include "util/utf8.h"

namespace taviro {
namespace {

// Positions are 1-based character positions and 0 means "not found", as the
// scraping rules were written; keeping that arithmetic keeps their quirks.
using Position = std::size_t;

// The first occurrence of `marker` at or after `from` (from >= 1), or 0.
Position FindFrom(std::u32string_view text, std::u32string_view marker, Position from) {
  if (from > text.size()) return 0;
  const std::size_t found = text.find(marker, from - 1);
  return found == std::u32string_view::npos ? 0 : found + 1;
}

// The `length` characters from `start` (start >= 1, length >= 0).
std::string Slice(std::u32string_view text, Position start, std::size_t length) {
  if (start > text.size()) return {};
  return EncodeUtf8(text.substr(start - 1, length));
}

std::optional<std::string> WithMarkers(std::u32string_view text, std::u32string_view start_marker,
                                       std::u32string_view end_marker) {
  const Position start = FindFrom(text, start_marker, 1);
  if (start == 0) return std::nullopt;
  const Position end_marker_at = FindFrom(text, end_marker, start);
  if (end_marker_at == 0) return std::nullopt;
  return Slice(text, start, end_marker_at + end_marker.size() - start);
}

std::optional<std::string> WithoutMarkers(std::u32string_view text, std::u32string_view start_marker,
                                          std::u32string_view end_marker) {
  // A missing start marker yields position 0 here and the search goes on
  // from the marker's length.
  const Position start = FindFrom(text, start_marker, 1) + start_marker.size();
  if (start == 0) return std::nullopt;
  const Position end = FindFrom(text, end_marker, start);
  if (end < start) return std::nullopt;  // covers "not found" (0)
  return Slice(text, start, end - start);
}

}  // namespace

std::optional<std::string> ExtractBetween(std::string_view text, std::string_view start_marker,
                                          std::string_view end_marker, int mode) {
  const std::u32string characters = DecodeUtf8(text);
  const std::u32string start = DecodeUtf8(start_marker);
  const std::u32string end = DecodeUtf8(end_marker);
  switch (mode) {
    case 1: return WithMarkers(characters, start, end);
    case 2: return WithoutMarkers(characters, start, end);
    default: return std::nullopt;
  }
}

}  // namespace taviro
