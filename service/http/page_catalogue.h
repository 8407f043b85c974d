#pragma once

#include <string>
#include <string_view>

#include "http/catalogue.h"

namespace taviro::demo {

// The catalogue's home page ("/"): every series with its episodes as
// "mivuvod://" links, and the first series' episode data after
// "var VideoInfoList=" inside the body, where the program looks for it.
// `library_section` (the user's own media) comes first when it holds
// titles; a section that only says how to add some comes after the rest.
std::string RenderHomePage(const Catalogue& catalogue, std::string_view base_url,
                           std::string_view library_section = {}, bool library_first = false);

// One series ("vod/<id>.htm"), with its own episode data block.
std::string RenderSeriesPage(const Series& series, std::string_view base_url);

}  // namespace taviro::demo
