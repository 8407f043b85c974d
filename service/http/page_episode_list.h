#pragma once

#include <string>
#include <string_view>

#include "http/catalogue.h"

namespace taviro::demo {

// The query of "pp.htm?": id "-" ly "-" did "-" title "-" cll. The title is
// in escaped form and may itself hold "-" (escape() keeps it), so the title
// is everything between the third field and the last one.
struct EpisodeListQuery {
  std::string id;
  std::string ly;
  std::string did;
  std::string title;
  std::string cll = "0";
};
EpisodeListQuery ParseEpisodeListQuery(std::string_view query);

// The episode list of one series, grouped by source, with play links in
// the list-page form; opens source ly, marks episode did and clicks entry
// "c" + cll when that entry exists. An unknown series gives an empty list.
std::string RenderEpisodeListPage(const Catalogue& catalogue, std::string_view query,
                                  std::string_view base_url);

}  // namespace taviro::demo
