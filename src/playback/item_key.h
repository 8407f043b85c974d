#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The catalogue item playing, as its key id-source-episode-title holds it.
// A title with a "-" in it is cut there; fields after the fourth are
// ignored, and a missing one is empty (0 for the numbers).
struct ItemKey {
  int id = 0;
  int source = 0;
  int episode = 0;
  std::string title;  // escaped, as it came in the link
};

// Nothing when no catalogue item plays (the key is "0" or has no "-").
std::optional<ItemKey> ParseItemKey(std::string_view key);

}  // namespace taviro
