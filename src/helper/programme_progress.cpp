#include "helper/programme_progress.h"

#include <charconv>

namespace taviro::helper {
namespace {

std::optional<std::int64_t> Count(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return std::nullopt;
  return value;
}

// The next line, without its end; `text` keeps the rest.
std::string_view NextLine(std::string_view& text) {
  const std::size_t end = std::min(text.find('\n'), text.size());
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(text.size(), end + 1));
  return line;
}

std::optional<std::string_view> After(std::string_view line, std::string_view prefix) {
  if (line.substr(0, prefix.size()) != prefix) return std::nullopt;
  return line.substr(prefix.size());
}

}  // namespace

std::string FormatProgrammeProgress(const ProgrammeProgress& progress) {
  return "programme " + std::to_string(progress.pieces_total) + "\nsource " + progress.source + "\ndone " +
         std::to_string(progress.pieces_done) + " " + std::to_string(progress.bytes) + "\n" +
         (progress.audio_at ? "audio " + std::to_string(*progress.audio_at) + "\n" : "");
}

std::optional<ProgrammeProgress> ParseProgrammeProgress(std::string_view text) {
  const std::optional<std::string_view> total = After(NextLine(text), "programme ");
  const std::optional<std::string_view> source = After(NextLine(text), "source ");
  const std::optional<std::string_view> done = After(NextLine(text), "done ");
  const bool more = !text.empty();
  const std::optional<std::string_view> audio = more ? After(NextLine(text), "audio ") : std::nullopt;
  if (!total || !source || !done || (more && !audio) || !text.empty()) return std::nullopt;
  const std::size_t space = done->find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  ProgrammeProgress progress;
  const std::optional<std::int64_t> pieces_total = Count(*total);
  const std::optional<std::int64_t> pieces_done = Count(done->substr(0, space));
  const std::optional<std::int64_t> bytes = Count(done->substr(space + 1));
  if (!pieces_total || !pieces_done || !bytes || *pieces_done > *pieces_total) return std::nullopt;
  progress.source = *source;
  progress.pieces_total = *pieces_total;
  progress.pieces_done = *pieces_done;
  progress.bytes = *bytes;
  if (audio) {
    progress.audio_at = Count(*audio);
    if (!progress.audio_at || *progress.audio_at > *bytes) return std::nullopt;
  }
  return progress;
}

}  // namespace taviro::helper
