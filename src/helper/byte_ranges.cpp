#include "helper/byte_ranges.h"

#include <algorithm>
#include <charconv>

#include "util/file_io.h"

namespace taviro::helper {
namespace {

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

void ByteRanges::Add(std::int64_t begin, std::int64_t end) {
  if (begin >= end) return;
  auto next = runs_.upper_bound(begin);
  if (next != runs_.begin()) {
    auto before = std::prev(next);
    if (before->second >= begin) {
      begin = before->first;
      end = std::max(end, before->second);
      next = runs_.erase(before);
    }
  }
  while (next != runs_.end() && next->first <= end) {
    end = std::max(end, next->second);
    next = runs_.erase(next);
  }
  runs_.emplace(begin, end);
}

bool ByteRanges::Contains(std::int64_t offset) const { return RunEnd(offset) > offset; }

std::int64_t ByteRanges::RunEnd(std::int64_t offset) const {
  auto next = runs_.upper_bound(offset);
  if (next == runs_.begin()) return offset;
  const auto run = std::prev(next);
  return run->second > offset ? run->second : offset;
}

std::optional<std::int64_t> ByteRanges::FirstMissing(std::int64_t from, std::int64_t total) const {
  const std::int64_t at = RunEnd(std::max<std::int64_t>(from, 0));
  if (at >= total) return std::nullopt;
  return at;
}

std::int64_t ByteRanges::Covered() const {
  std::int64_t sum = 0;
  for (const auto& [begin, end] : runs_) sum += end - begin;
  return sum;
}

std::string ByteRanges::Serialize() const {
  std::string text;
  for (const auto& [begin, end] : runs_) {
    text += std::to_string(begin) + "-" + std::to_string(end) + "\n";
  }
  return text;
}

ByteRanges ByteRanges::Parse(std::string_view text, std::int64_t total) {
  ByteRanges ranges;
  for (std::string_view line : SplitLines(text)) {
    const std::size_t dash = line.find('-');
    if (dash == std::string_view::npos) continue;
    const auto begin = Number(line.substr(0, dash));
    const auto end = Number(line.substr(dash + 1));
    if (!begin || !end || *begin < 0) continue;
    ranges.Add(*begin, std::min(*end, total));
  }
  return ranges;
}

}  // namespace taviro::helper
