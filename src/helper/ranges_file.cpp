#include "helper/ranges_file.h"

#include <charconv>

namespace taviro::helper {
namespace {

constexpr std::string_view kSizeLine = "size ";
constexpr std::string_view kSourceLine = "source ";

// The first line of `text`, taken off it.
std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

}  // namespace

std::string FormatRangesFile(std::int64_t size, std::string_view source, const ByteRanges& present) {
  std::string text(kSizeLine);
  text += std::to_string(size);
  text += '\n';
  text += kSourceLine;
  text += source;
  text += '\n';
  text += present.Serialize();
  return text;
}

std::optional<RangesFile> ParseRangesFile(std::string_view text) {
  std::string_view size_line = TakeLine(text);
  std::string_view source_line = TakeLine(text);
  if (!size_line.starts_with(kSizeLine) || !source_line.starts_with(kSourceLine)) return std::nullopt;
  size_line.remove_prefix(kSizeLine.size());
  source_line.remove_prefix(kSourceLine.size());
  RangesFile file;
  const auto [end, error] = std::from_chars(size_line.data(), size_line.data() + size_line.size(), file.size);
  if (size_line.empty() || error != std::errc() || end != size_line.data() + size_line.size() ||
      file.size < 0) {
    return std::nullopt;
  }
  file.source = std::string(source_line);
  file.present = ByteRanges::Parse(text, file.size);
  return file;
}

}  // namespace taviro::helper
