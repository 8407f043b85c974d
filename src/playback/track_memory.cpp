#include "playback/track_memory.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "lists/list_fields.h"
#include "util/ansi_text.h"
#include "util/file_io.h"
#include "util/split_text.h"

namespace taviro {
namespace {

constexpr std::string_view kOff = "off";

std::optional<int> NumberOf(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

std::optional<SubtitleChoice> SubtitleOf(std::string_view field) {
  if (field.empty()) return std::nullopt;
  if (field == kOff) return SubtitlesOff{};
  if (field.starts_with('#')) {
    if (const auto id = NumberOf(field.substr(1))) return SubtitleTrack{*id};
    return std::nullopt;
  }
  return SubtitleFile{LocalPathFromStored(field)};
}

std::string SubtitleField(const std::optional<SubtitleChoice>& choice) {
  if (!choice) return {};
  if (std::holds_alternative<SubtitlesOff>(*choice)) return std::string(kOff);
  if (const auto* track = std::get_if<SubtitleTrack>(&*choice)) return "#" + std::to_string(track->id);
  return StoredLocalPath(std::get<SubtitleFile>(*choice).path);
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  const std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return lines;
  for (std::string_view line : SplitLines(*bytes)) {
    if (line.find('|') != std::string_view::npos) lines.push_back(DecodeAnsi(line));
  }
  return lines;
}

std::string_view KeyOf(std::string_view line) { return line.substr(0, line.find('|')); }

}  // namespace

TrackChoice TrackMemory::Recall(const std::string& address) const {
  const std::string key = StoredLocalPath(address);
  for (const std::string& line : Lines(file_)) {
    if (KeyOf(line) != key) continue;
    const std::vector<std::string_view> fields = SplitText(line, "|");
    TrackChoice choice;
    if (fields.size() > 1) choice.subtitle = SubtitleOf(fields[1]);
    if (fields.size() > 2) choice.audio = NumberOf(fields[2]);
    return choice;
  }
  return {};
}

void TrackMemory::Remember(const std::string& address, const TrackChoice& choice) const {
  const std::string key = StoredLocalPath(address);
  std::string text = key + "|" + SubtitleField(choice.subtitle) + "|" +
                     (choice.audio ? std::to_string(*choice.audio) : std::string()) + std::string(kCrLf);
  int kept = 1;
  for (const std::string& line : Lines(file_)) {
    if (KeyOf(line) == key) continue;
    if (++kept > kMaxItems) break;
    text += line + std::string(kCrLf);
  }
  // Ignored on purpose: see the declaration.
  static_cast<void>(WriteFileAtomically(file_, EncodeAnsi(text)));
}

}  // namespace taviro
