#include "playback/item_key.h"

#include <array>

#include "util/text_number.h"

namespace taviro {

std::optional<ItemKey> ParseItemKey(std::string_view key) {
  if (key == "0" || key.find('-') == std::string_view::npos) {
    return std::nullopt;
  }
  std::array<std::string_view, 4> fields{};
  for (std::string_view& field : fields) {
    const std::size_t at = key.find('-');
    field = key.substr(0, at);
    if (at == std::string_view::npos) {
      break;
    }
    key.remove_prefix(at + 1);
  }
  return ItemKey{ToInteger(fields[0]), ToInteger(fields[1]), ToInteger(fields[2]), std::string(fields[3])};
}

}  // namespace taviro
