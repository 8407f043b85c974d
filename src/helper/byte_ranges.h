#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::helper {

// The byte ranges of a file that are already on disk, as disjoint, merged
// half-open intervals.
class ByteRanges {
 public:
  void Add(std::int64_t begin, std::int64_t end);
  bool Contains(std::int64_t offset) const;
  // The end of the present run that holds `offset`; `offset` itself when
  // that byte is missing.
  std::int64_t RunEnd(std::int64_t offset) const;
  // The first missing byte at or after `from` below `total`.
  std::optional<std::int64_t> FirstMissing(std::int64_t from, std::int64_t total) const;
  std::int64_t Covered() const;

  // One "begin-end" line per range; Parse ignores lines it cannot read and
  // clips ranges to `total`, so a damaged file only costs a new download.
  std::string Serialize() const;
  static ByteRanges Parse(std::string_view text, std::int64_t total);

 private:
  std::map<std::int64_t, std::int64_t> runs_;  // begin -> end
};

}  // namespace taviro::helper
