#pragma once

#include <string>
#include <string_view>

#include "http/catalogue.h"

namespace taviro::demo {

// "tv/list.htm": a 202 px column of channels grouped under headings, each a
// "mitvs://" code link.
std::string RenderTvListPage(const Catalogue& catalogue);

// "tv/ad.htm": what the TV area shows before a channel is chosen.
std::string RenderTvPlaceholderPage();

// "tv/mivutv.htm?" code: the channel playing, or a "no signal" card for an
// unknown code.
std::string RenderTvPlayerPage(const Catalogue& catalogue, std::string_view raw_query,
                               std::string_view base_url);

}  // namespace taviro::demo
