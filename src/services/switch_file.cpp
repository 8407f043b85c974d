#include "services/switch_file.h"

#include <charconv>
#include <vector>

#include "util/split_text.h"

namespace taviro {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string WithoutLineBreaks(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != '\r' && c != '\n') kept += c;
  }
  return kept;
}

}  // namespace

bool SwitchIsOn(std::string_view field) {
  std::string_view number = Trimmed(field);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  if (number.empty()) return false;
  double value = 0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
  return error == std::errc() && end == number.data() + number.size() && value == 1.0;
}

std::optional<SwitchFile> ParseSwitchFile(std::string_view text) {
  if (text.empty() || text.find("====") == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> fields = SplitText(text, "====");
  const auto field = [&fields](std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
  };
  SwitchFile file;
  file.exit_promotion = std::string(field(0));
  file.notice = SwitchIsOn(field(1));
  file.pause_panel = SwitchIsOn(field(2));
  file.ticker = SwitchIsOn(field(3));
  file.player_panel = SwitchIsOn(field(4));
  // A lone line feed (a file saved on another system) is no more part of the
  // version than CR LF is.
  file.version = WithoutLineBreaks(field(5));
  return file;
}

}  // namespace taviro
