// A ranges file left in the save folder (by a former run, a damaged disk,
// or another user): it never claims bytes outside the item, survives its
// own form, and no share computed from it leaves 0..1000.
#include <cstdint>
#include <string>

#include "helper/ranges_file.h"
#include "helper/transfer_rules.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<taviro::helper::RangesFile> file = taviro::helper::ParseRangesFile(text);
  if (!file) return 0;
  const std::int64_t covered = file->present.Covered();
  Check(file->size >= 0 && covered >= 0 && covered <= file->size, "ranges stay inside the item", text);
  const int share = taviro::helper::Thousandths(covered, file->size);
  Check(share >= 0 && share <= 1000, "a share is in thousandths", text);
  Check(share == 1000 || file->present.FirstMissing(0, file->size).has_value() || file->size == 0,
        "a whole item is 1000", text);
  if (file->source.find('\n') == std::string::npos) {
    const std::string again = taviro::helper::FormatRangesFile(file->size, file->source, file->present);
    const auto back = taviro::helper::ParseRangesFile(again);
    Check(back && back->size == file->size && back->source == file->source &&
              back->present.Serialize() == file->present.Serialize(),
          "a ranges file survives its own form", text);
  }
  const std::optional<std::int64_t> next =
      taviro::helper::NextFetchStart(file->present, file->size, static_cast<std::int64_t>(size));
  Check(!next || (*next >= 0 && *next < file->size && !file->present.Contains(*next)),
        "the next fetch starts at a missing byte", text);
  return 0;
}
