#pragma once

#include <string_view>
#include <vector>

namespace taviro {

// The pieces of `text` between occurrences of `separator`: an empty text has no pieces, a separator at either
// end gives an empty piece there. An empty separator gives the whole text as one piece.
std::vector<std::string_view> SplitText(std::string_view text, std::string_view separator);

}  // namespace taviro
