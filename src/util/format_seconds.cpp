#include "util/format_seconds.h"

namespace taviro {
namespace {

void AppendTwoDigits(std::string& out, std::int64_t value) {
  if (value < 10) out.push_back('0');
  out += std::to_string(value);
}

}  // namespace

std::string FormatSeconds(std::int64_t seconds) {
  // A position before the start means nothing sensible; show the start.
  if (seconds < 0) seconds = 0;
  const std::int64_t hours = seconds / 3600;
  const std::int64_t minutes = seconds % 3600 / 60;
  std::string out;
  if (hours != 0) {
    out = std::to_string(hours);
    out.push_back(':');
  }
  AppendTwoDigits(out, minutes);
  out.push_back(':');
  AppendTwoDigits(out, seconds % 60);
  return out;
}

}  // namespace taviro
