#pragma once

#include <string>
#include <string_view>

namespace taviro::demo {

// The web play page, "play.htm?" kind "$$$" escape(url): plays the address
// in the page and, when the video ends, navigates to `end_address` so that
// the program moves on to the next episode.
std::string RenderPlayPage(std::string_view raw_query, std::string_view end_address);

}  // namespace taviro::demo
