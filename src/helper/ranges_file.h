#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "helper/byte_ranges.h"

namespace taviro::helper {

// What a partial download's ranges file says: the size of the item, the
// source it was fetched from, and the byte ranges already on disk.
struct RangesFile {
  std::int64_t size = 0;
  std::string source;
  ByteRanges present;
};

// "size N", "source KEY", then one "begin-end" line per range.
std::string FormatRangesFile(std::int64_t size, std::string_view source, const ByteRanges& present);
// Nothing without a size line, with a negative size, or without a source
// line (as an older helper wrote them): such a file only costs a new
// download.
std::optional<RangesFile> ParseRangesFile(std::string_view text);

}  // namespace taviro::helper
